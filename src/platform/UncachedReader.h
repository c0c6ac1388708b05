#pragma once

#include <QtGlobal>

class FileHandle;

// Reads a file from the disk straight into the caller's buffers, past the page cache, where its
// file system lets it (O_DIRECT): for a file read once that is not in the cache, as one whose
// blocks were just shared with another, it saves the kernel's copy of every byte, which on a
// machine of few cores is time taken from hashing, and pushes nothing of the user's out of
// memory. Only whole blocks read into a buffer aligned to one go so; the rest of a read, and
// every read once the file system has refused one, goes through the cache. The file reads
// through the cache again once the reader is gone. One thread at a time.
class UncachedReader {
public:
    static constexpr qint64 kBlock = 4096;

    explicit UncachedReader(const FileHandle &file);
    ~UncachedReader();
    UncachedReader(const UncachedReader &) = delete;
    UncachedReader &operator=(const UncachedReader &) = delete;

    // Reads size bytes at offset, fewer only where the file ends; returns how many. Throws
    // Failure.
    qint64 readFully(char *buffer, qint64 size, qint64 offset);

private:
    // Up to size bytes, at least a block, past the cache; -1 where the file system refused.
    qint64 readPastCache(char *buffer, qint64 size, qint64 offset) const;
    void readThroughCache();

    const FileHandle &m_file;
    bool m_pastCache;
};
