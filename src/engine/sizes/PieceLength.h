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
