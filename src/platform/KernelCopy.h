#pragma once

#include <QtGlobal>

// The kernel's in-place copy between two open files, where the system has one: no bytes pass
// through the program. Copies up to count bytes from inOffset to outOffset and advances both.
// Returns the bytes copied (0 at the source's end), or -1 when the kernel does not do it for
// these files or fails; the caller then copies through a buffer, which reports real errors.
qint64 kernelCopy(int inFd, qint64 &inOffset, int outFd, qint64 &outOffset, qint64 count);
