#pragma once

#include "FileHandle.h"
#include "Task.h"

#include <condition_variable>
#include <mutex>

// Flushes files to the disk on a thread of its own while the caller writes the next ones, so
// that a disk with a write cache of its own (a virtual machine's) empties it on the way rather
// than all in the flush at the end. A head start only: what a flush here meets is left to the
// caller's own flush at the end, which it still needs. Of the files handed over while one is
// flushed, only the last waits its turn; the flush of the disk's cache takes along what of the
// others has reached it (see FileHandle::startWriteback), and however far the disk lags, no more
// than two descriptors are held.
class BackgroundFlush {
public:
    // Throws a Failure when the system has no thread to spare.
    BackgroundFlush();
    ~BackgroundFlush(); // waits for the flush under way; the one waiting is left to the caller's
    BackgroundFlush(const BackgroundFlush &) = delete;
    BackgroundFlush &operator=(const BackgroundFlush &) = delete;

    // The file is flushed through a descriptor of its own, so that the caller may close it;
    // bytes, what it holds that was not handed over before. A file is taken only once 32 MiB
    // have come since the last one taken: thousands of small files, each waiting on the disk's
    // cache, would slow down the writes they are meant to speed up.
    void flush(const FileHandle &file, qint64 bytes);

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_handed;
    FileHandle m_waiting;         // none while its descriptor is -1
    qint64 m_bytesSinceTaken = 0; // the caller's alone: run() never reads it
    bool m_ending = false;
    Task m_task; // last: it starts once the rest is made
};
