#include "RangeCopier.h"

#include "FileHandle.h"
#include "SourceFile.h"

#include <algorithm>
#include <cerrno>

namespace {

// Small enough to stay in the processor's cache, which larger buffers measured slower for.
constexpr qint64 kBufferBytes = qint64(128) * 1024;

CopyMethod nextMethod(CopyMethod method) {
    return method == CopyMethod::Kernel ? CopyMethod::Sendfile : CopyMethod::Buffer;
}

// Copies up to count bytes of in at offset to the current position of out inside the kernel,
// by method (Kernel or Sendfile), and advances offset. Returns the bytes copied, 0 at the
// source's end, or -errno.
qint64 kernelCopy(const FileSystem &files, CopyMethod method, int in, qint64 &offset, int out,
                  qint64 count) {
    for (;;) {
        off_t at = off_t(offset);
        const ssize_t copied = method == CopyMethod::Kernel
                                   ? files.copyRange(in, &at, out, size_t(count))
                                   : files.sendFile(out, in, &at, size_t(count));
        if (copied >= 0) {
            offset += copied;
            return copied;
        }
        if (errno != EINTR)
            return -errno;
    }
}

// Whether a kernelCopy() error means that the files cannot be copied this way at all, rather
// than that the copy failed.
bool refusesKernelCopy(int error) {
    // EXDEV: between two file systems; EINVAL, EOPNOTSUPP, ENOSYS: not for these files or this
    // kernel; EBADF: a target opened for appending.
    return error == EXDEV || error == EINVAL || error == EOPNOTSUPP || error == ENOSYS ||
           error == EBADF;
}

} // namespace

RangeCopier::RangeCopier(CopyMethod first)
    : m_method(first) {}

RangeCopier::~RangeCopier() = default;

qint64 RangeCopier::copy(const SourceFile &source, qint64 offset, const FileHandle &target,
                         qint64 count) {
    qint64 copied = 0;
    // The kernel's copies stop at the size a file reports; past it only reading tells.
    const qint64 reported = source.facts().size;
    while (copied < count) {
        qint64 at = offset + copied;
        if (m_method != CopyMethod::Buffer && at < reported) {
            const qint64 got = kernelCopy(target.files(), m_method, source.fd(), at, target.fd(),
                                          std::min(count - copied, reported - at));
            if (got == 0)
                return copied;
            if (got > 0) {
                copied += got;
                continue;
            }
            if (refusesKernelCopy(int(-got))) {
                m_method = nextMethod(m_method);
                continue;
            }
            // Any other failure is repeated below, where reading and writing apart tell which
            // of the two files failed.
        }
        const qint64 got =
            copyThroughBuffer(source, at, target, std::min(count - copied, kBufferBytes));
        copied += got;
        if (got == 0)
            return copied;
    }
    return copied;
}

qint64 RangeCopier::copyThroughBuffer(const SourceFile &source, qint64 offset,
                                      const FileHandle &target, qint64 count) {
    if (!m_buffer)
        m_buffer = std::make_unique<char[]>(kBufferBytes);
    const qint64 got = source.readAt(m_buffer.get(), count, offset);
    target.write(m_buffer.get(), got);
    return got;
}
