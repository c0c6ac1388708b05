#pragma once

#include <QtGlobal>

#include <memory>

class SourceFile;

// How bytes move from a source to a target, fastest first. On Linux: copy_file_range, which
// copies inside the kernel; sendfile, which also works between file systems; read and write
// through a small buffer, which works everywhere.
enum class CopyMethod { Kernel, Sendfile, Buffer };

// Copies byte ranges of source files, each to the current position of a target. Starts with
// the method given and falls back, for good, to the next one when a file system refuses it.
// One copier serves one thread.
class RangeCopier {
public:
    explicit RangeCopier(CopyMethod first = CopyMethod::Kernel);
    ~RangeCopier();
    RangeCopier(const RangeCopier &) = delete;
    RangeCopier &operator=(const RangeCopier &) = delete;

    struct Result {
        qint64 copied = 0;   // fewer than asked only where the source ended
        int targetError = 0; // errno of a write to the target that failed, 0 if none did
    };

    // Copies up to count bytes of source from offset. Reads past the size the source reported,
    // until a read returns nothing, so that files whose size is not their length (those of
    // /proc) are read whole. Throws Failure when the source cannot be read.
    Result copy(const SourceFile &source, qint64 offset, int targetFd, qint64 count);

private:
    qint64 copyThroughBuffer(const SourceFile &source, qint64 offset, int targetFd, qint64 count,
                             int &targetError);

    CopyMethod m_method;
    std::unique_ptr<char[]> m_buffer;
};
