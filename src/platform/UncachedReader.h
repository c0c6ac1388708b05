#pragma once

#include "CacheBypass.h"

#include <QtGlobal>

class FileHandle;

// Reads a file from the disk straight into the caller's buffers, past the page cache, where its
// file system lets it (CacheBypass): for a file read once that is not in the cache, as one whose
// blocks were just shared with another. The file reads through the cache again once the reader
// is gone. One thread at a time.
class UncachedReader {
public:
    explicit UncachedReader(const FileHandle &file);

    // Reads size bytes at offset, fewer only where the file ends; returns how many. Throws
    // Failure.
    qint64 readFully(char *buffer, qint64 size, qint64 offset);

private:
    const FileHandle &m_file;
    CacheBypass m_bypass;
};
