#pragma once

#include <QtGlobal>

#include <limits>

// A count as tr() takes it to choose a text's plural form, an int, for counts of 64 bits (the
// text shows the count itself as %1): a larger one keeps the last nine digits that languages'
// plural rules look at, and stays large.
inline int pluralCount(qint64 count) {
    constexpr qint64 kKept = 1'000'000'000;
    return count <= std::numeric_limits<int>::max() ? int(count) : int(kKept + count % kKept);
}
