#pragma once

#include <QtGlobal>

// How many pieces a source turns out to have while its pieces are copied, several at once and
// in any order. It starts at the count that the length the source reported gives, which may be
// wrong either way (a file of /proc reports 0 bytes and holds more; one of sysfs reports a page
// and holds a few bytes): a piece that comes short is the last, or the one before it where it
// is empty, so that no empty piece follows the real end (only an empty source has one, empty
// piece); a full last piece of a source that goes on is followed by one more.
class PieceCount {
public:
    explicit PieceCount(qint64 planned)
        : m_last(planned) {}

    // No piece after this one is started, or is one of the source's.
    qint64 last() const noexcept { return m_last; }

    // Piece number piece was copied: copied of the pieceLength bytes it may hold; goesOn, when
    // it is full, whether the source holds a byte after it.
    void pieceCopied(qint64 piece, qint64 copied, qint64 pieceLength, bool goesOn);

private:
    qint64 m_last;
};
