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

RangeCopier::Result RangeCopier::copy(const SourceFile &source, qint64 offset, int targetFd,
                                      qint64 count) {
    Result result;
    // The kernel's copies stop at the size a file reports; past it only reading tells.
    const qint64 reported = source.facts().size;
    while (result.copied < count) {
        qint64 at = offset + result.copied;
        if (m_method != CopyMethod::Buffer && at < reported) {
            const qint64 copied = kernelCopy(m_method, source.fd(), at, targetFd,
                                             std::min(count - result.copied, reported - at));
            if (copied == 0)
                return result;
            if (copied > 0) {
                result.copied += copied;
                continue;
            }
            if (refusesKernelCopy(int(-copied))) {
                m_method = nextMethod(m_method);
                continue;
            }
            // Any other failure is repeated below, where reading and writing apart tell which
            // of the two files failed.
        }
        const qint64 copied =
            copyThroughBuffer(source, at, targetFd, std::min(count - result.copied, kBufferBytes),
                              result.targetError);
        result.copied += copied;
        if (copied == 0 || result.targetError != 0)
            return result;
    }
    return result;
}

qint64 RangeCopier::copyThroughBuffer(const SourceFile &source, qint64 offset, int targetFd,
                                      qint64 count, int &targetError) {
    if (!m_buffer)
        m_buffer = std::make_unique<char[]>(kBufferBytes);
    const qint64 got = source.readAt(m_buffer.get(), count, offset);
    if (got > 0)
        targetError = writeAll(targetFd, m_buffer.get(), got);
    return targetError == 0 ? got : 0;
}
