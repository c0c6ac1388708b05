#include "KernelCopy.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace {

// Bytes mapped at a time: memory stays flat whatever the file size.
constexpr qint64 kMapWindow = qint64(8) << 20;

const qint64 kPageSize = ::sysconf(_SC_PAGESIZE);

qint64 copyInKernel(int inFd, qint64 &inOffset, int outFd, qint64 &outOffset, qint64 count) {
    loff_t in = inOffset;
    loff_t out = outOffset;
    const ssize_t copied = ::copy_file_range(inFd, &in, outFd, &out, static_cast<size_t>(count), 0);
    if (copied < 0)
        return -1;
    inOffset = in;
    outOffset = out;
    return copied;
}

// write() from a read-only mapping of the source: one copy, from the source's page cache into
// the target's. Only the kernel touches the mapping, so a source cut short meanwhile makes
// write() fail rather than the program fault.
qint64 copyThroughMapping(int inFd, qint64 &inOffset, int outFd, qint64 &outOffset, qint64 count) {
    // Mapped bytes past the source's end would read as zeros: never copy beyond it.
    struct stat source {};
    if (::fstat(inFd, &source) != 0)
        return -1;
    if (inOffset >= source.st_size)
        return 0;
    const qint64 mapStart = inOffset - inOffset % kPageSize;
    const qint64 lead = inOffset - mapStart;
    const qint64 length = std::min({count, kMapWindow - lead, qint64(source.st_size) - inOffset});
    void *map = ::mmap(nullptr, static_cast<size_t>(lead + length), PROT_READ,
                       MAP_SHARED | MAP_POPULATE, inFd, mapStart);
    if (map == MAP_FAILED)
        return -1;
    const ssize_t written = ::pwrite(outFd, static_cast<const char *>(map) + lead,
                                     static_cast<size_t>(length), outOffset);
    ::munmap(map, static_cast<size_t>(lead + length));
    if (written <= 0)
        return -1;
    inOffset += written;
    outOffset += written;
    return written;
}

} // namespace

qint64 kernelCopy(int inFd, qint64 &inOffset, int outFd, qint64 &outOffset, qint64 count) {
    if (inFd < 0 || outFd < 0)
        return -1;
    // The kernel's own copy is fastest, and may share blocks, when both offsets fall alike
    // within a page. Pieces of most sizes start mid-page in the source, where it copies a
    // third slower than a write from a mapping.
    if (inOffset % kPageSize == outOffset % kPageSize)
        return copyInKernel(inFd, inOffset, outFd, outOffset, count);
    return copyThroughMapping(inFd, inOffset, outFd, outOffset, count);
}
