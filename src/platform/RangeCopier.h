#pragma once

#include <QtGlobal>

#include <memory>

class FileHandle;
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

    // Copies up to count bytes of source from offset to the current position of target;
    // returns how many, fewer than asked only where the source ended. Reads past the size the
    // source reported, until a read returns nothing, so that files whose size is not their
    // length (those of /proc) are read whole. Throws a Failure naming the source or the target,
    // whichever failed.
    qint64 copy(const SourceFile &source, qint64 offset, const FileHandle &target, qint64 count);

private:
    qint64 copyThroughBuffer(const SourceFile &source, qint64 offset, const FileHandle &target,
                             qint64 count);

    CopyMethod m_method;
    std::unique_ptr<char[]> m_buffer;
};
