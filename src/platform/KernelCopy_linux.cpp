#include "KernelCopy.h"

#include <unistd.h>

qint64 kernelCopy(int inFd, qint64 &inOffset, int outFd, qint64 &outOffset, qint64 count)
{
    if (inFd < 0 || outFd < 0)
        return -1;
    loff_t in = inOffset;
    loff_t out = outOffset;
    const ssize_t copied = ::copy_file_range(inFd, &in, outFd, &out, static_cast<size_t>(count), 0);
    if (copied < 0)
        return -1;
    inOffset = in;
    outOffset = out;
    return copied;
}
