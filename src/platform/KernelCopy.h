#pragma once

#include <QtGlobal>

// Copies between two open files without a buffer of the program's own, where the system can.
// Copies up to count bytes from inOffset to outOffset and advances both by what it copied.
// Returns the bytes copied (0 at the source's end), or -1 when it cannot copy these files or
// fails before copying anything; the caller then copies through a buffer, which reports
// real errors with their reason.
qint64 kernelCopy(int inFd, qint64 &inOffset, int outFd, qint64 &outOffset, qint64 count);
