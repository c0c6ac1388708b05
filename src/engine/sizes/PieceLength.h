#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Bytes in every piece but the last, for a piece size in bytes: the largest whole number below
// the size, at least 1. Sizes beyond any file give one piece, without overflow.
qint64 fullPieceLength(double pieceSize);

// The same for a size typed or listed as text, read as the user's locale writes numbers;
// nothing when the text is not a number.
std::optional<qint64> fullPieceLength(const QString &pieceSize);

// Pieces a source of length bytes is cut into: at least one, an empty piece for an empty source.
qint64 pieceCountFor(qint64 length, qint64 fullPiece);

// Bytes in every piece but the last when a source of length bytes is cut into exactly count
// pieces, all of one length but the last, which is no longer; nothing where none gives count
// pieces (a source shorter than count, or a few bytes in many pieces).
std::optional<qint64> pieceLengthForCount(qint64 length, qint64 count);
