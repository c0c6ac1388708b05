#include "sizes/PieceLength.h"

#include "Numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

qint64 fullPieceLength(double pieceSize) {
    // A new piece starts once the running count, pending byte included, reaches the size,
    // so a whole size of S leaves S - 1 bytes in a piece.
    if (!(pieceSize > 1.0))
        return 1;
    if (pieceSize >= 0x1p62)
        return std::numeric_limits<qint64>::max();
    return static_cast<qint64>(std::ceil(pieceSize)) - 1;
}

std::optional<qint64> fullPieceLength(const QString &pieceSize) {
    const std::optional<double> number = toNumber(pieceSize);
    if (!number)
        return std::nullopt;
    return fullPieceLength(*number);
}

qint64 pieceCountFor(qint64 length, qint64 fullPiece) {
    return length <= 0 ? 1 : (length - 1) / fullPiece + 1;
}

std::optional<qint64> pieceLengthForCount(qint64 length, qint64 count) {
    if (count < 1 || (count > 1 && length < count))
        return std::nullopt;
    if (count == 1)
        return std::max<qint64>(length, 1);
    const qint64 pieceLength = (length - 1) / count + 1;
    if (pieceCountFor(length, pieceLength) != count)
        return std::nullopt;
    return pieceLength;
}
