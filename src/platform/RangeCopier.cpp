#include "RangeCopier.h"

#include "FileHandle.h"
#include "KernelCopy.h"
#include "SourceFile.h"

#include <algorithm>

namespace {

// Small enough to stay in the processor's cache, which larger buffers measured slower for.
constexpr qint64 kBufferBytes = qint64(128) * 1024;

CopyMethod nextMethod(CopyMethod method) {
    return method == CopyMethod::Kernel ? CopyMethod::Sendfile : CopyMethod::Buffer;
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
            const qint64 got = kernelCopy(m_method, source.fd(), at, target.fd(),
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
