#include "KernelCopy.h"

qint64 kernelCopy(int, qint64 &, int, qint64 &, qint64) {
    return -1;
}
