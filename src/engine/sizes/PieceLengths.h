#pragma once

#include <QList>
#include <QtGlobal>

#include <optional>

// The lengths of a file's pieces as a split cuts them: every one full but the last, which is
// no longer (an empty file has one, empty piece). Held as three numbers at any piece count.
struct PieceLengths {
    qint64 count = 0;
    qint64 full = 0; // of every piece but the last
    qint64 last = 0;

    // Piece piece's (from 1).
    qint64 of(qint64 piece) const { return piece == count ? last : full; }
    qint64 total() const { return count == 0 ? 0 : (count - 1) * full + last; }

    // Takes the next piece's length; false where the lengths are then no longer of that shape
    // (the one before was not full, or this one is longer).
    bool append(qint64 length) {
        if (count == 0)
            full = length;
        else if (last != full || length > full)
            return false;
        last = length;
        ++count;
        return true;
    }

    // Those of lengths where they are of that shape; nothing where one but the last differs
    // from the first, or the last is longer.
    static std::optional<PieceLengths> from(const QList<qint64> &lengths) {
        PieceLengths shape;
        for (const qint64 length : lengths)
            if (!shape.append(length))
                return std::nullopt;
        if (shape.count == 0)
            return std::nullopt;
        return shape;
    }
};
