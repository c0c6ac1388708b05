#pragma once

#include "FileHandle.h"
#include "Task.h"

#include <condition_variable>
#include <deque>
#include <mutex>

// Starts files on their way to the disk on a thread of its own while the caller writes the next
// ones: the writeback of each, which can wait for the disk's queue, and once every 32 MiB a
// flush, so that a disk with a write cache of its own (a virtual machine's) empties it on the way
// rather than all in the flush at the end. A head start only: what is not done here is left to
// the caller's own flush at the end, which it still needs. However far the disk lags, no more
// than a few descriptors are held.
class BackgroundFlush {
public:
    // Throws a Failure when the system has no thread to spare.
    BackgroundFlush();
    ~BackgroundFlush(); // waits for the file under way; those waiting are left to the caller's
    BackgroundFlush(const BackgroundFlush &) = delete;
    BackgroundFlush &operator=(const BackgroundFlush &) = delete;

    // Takes the file, of bytes, through a descriptor of its own, so that the caller may close it.
    // A file waiting on the disk's cache for each of thousands of small pieces would slow down
    // the writes it is meant to speed up: one is flushed only once 32 MiB have come since.
    // False where it cannot take the file (the disk lags, or no descriptor is to spare): the
    // caller starts its writeback itself.
    [[nodiscard]] bool handOver(const FileHandle &file, qint64 bytes);

private:
    struct Waiting {
        FileHandle file;
        qint64 bytes;
        bool flush; // to the disk, not only its writeback started
    };

    void run();

    std::mutex m_mutex;
    std::condition_variable m_handed;
    std::deque<Waiting> m_waiting;
    qint64 m_bytesSinceFlush = 0; // handed over since the last file to flush
    bool m_ending = false;
    Task m_task; // last: it starts once the rest is made
};
