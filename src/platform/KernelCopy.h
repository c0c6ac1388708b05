#pragma once

#include "RangeCopier.h"

// Copies up to count bytes from inFd at offset to the current position of outFd inside the
// kernel, by method (Kernel or Sendfile), and advances offset. Returns the bytes copied, 0 at
// the source's end, or -errno.
qint64 kernelCopy(CopyMethod method, int inFd, qint64 &offset, int outFd, qint64 count);

// Whether a kernelCopy() error means that the files cannot be copied this way at all, rather
// than that the copy failed.
bool refusesKernelCopy(int error);
