#pragma once

#include "CacheBypass.h"

#include <QtGlobal>

class FileHandle;

// Writes a file from its start, in order, from the caller's buffers straight to the disk, past
// the page cache, where its file system lets it (CacheBypass): for a file written once and not
// read again soon, as a large piece. What goes so is no more durable than what goes through the
// cache until the file or its volume is flushed. The file writes through the cache again once
// the writer is gone. One thread at a time.
class UncachedWriter {
public:
    explicit UncachedWriter(const FileHandle &file);

    // Writes all of data after what was written before. Throws Failure.
    void write(const char *data, qint64 size);

private:
    const FileHandle &m_file;
    CacheBypass m_bypass;
    qint64 m_written = 0;
};
