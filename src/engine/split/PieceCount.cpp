#include "split/PieceCount.h"

void PieceCount::pieceCopied(qint64 piece, qint64 copied, qint64 pieceLength, bool goesOn) {
    if (copied < pieceLength && piece < m_last)
        m_last = piece; // the source ends in this piece
    if (copied == 0 && piece > 1 && piece <= m_last)
        m_last = piece - 1; // it ended with the piece before: none is empty
    if (piece == m_last && copied == pieceLength && goesOn)
        ++m_last;
}
