#pragma once

#include <QtGlobal>

#include <limits>

// Byte and file counts that may exceed any disk (a piece size of 1e300, a million one-byte
// pieces of a huge file) stop at the largest count rather than overflow. Counts are never
// negative.
inline qint64 saturatingAdd(qint64 a, qint64 b) {
    qint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

inline qint64 saturatingMultiply(qint64 a, qint64 b) {
    qint64 product = 0;
    return __builtin_mul_overflow(a, b, &product) ? std::numeric_limits<qint64>::max() : product;
}

// bytes rounded up to whole blocks of blockSize.
inline qint64 wholeBlocks(qint64 bytes, qint64 blockSize) {
    if (bytes > std::numeric_limits<qint64>::max() - (blockSize - 1))
        return std::numeric_limits<qint64>::max();
    return (bytes + blockSize - 1) / blockSize * blockSize;
}
