#pragma once

#include "Failure.h"
#include "FileFacts.h"
#include "split/PieceCount.h"
#include "split/PieceFiles.h"

#include <QHash>

#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

// What the threads of one cut share, guarded by mutex.
struct CutState {
    static constexpr qint64 kNoPiece = std::numeric_limits<qint64>::max();

    CutState(qint64 plannedPieces, qint64 pieceLength, PieceFiles earlier)
        : count(plannedPieces)
        , pieceLength(pieceLength)
        , files(std::move(earlier)) {}

    std::mutex mutex;
    std::condition_variable pieceDone; // a piece is complete, or the cut has ended
    qint64 next = 1;                   // the piece to start next
    PieceCount count;
    bool stopped = false;
    bool copyingEnded = false; // every worker has returned
    qint64 failedPiece = kNoPiece;
    std::optional<Failure> failure;
    const qint64 pieceLength;
    PieceFiles files; // the earlier pieces, and those created in their place and after

    // Under mutex.
    void pieceComplete(qint64 piece, qint64 length) {
        if (qint64(m_complete.size()) < piece)
            m_complete.resize(piece);
        m_complete[piece - 1] = true;
        if (length != pieceLength)
            m_shortPieces.insert(piece, length);
    }
    // Under mutex: the length of piece, once it is complete.
    std::optional<qint64> completeLength(qint64 piece) const {
        if (piece > qint64(m_complete.size()) || !m_complete[piece - 1])
            return std::nullopt;
        return m_shortPieces.value(piece, pieceLength);
    }

    // Under mutex. The failure of the lowest-numbered piece is the one told.
    void fail(qint64 piece, Failure error) {
        if (piece < failedPiece) {
            failedPiece = piece;
            failure = std::move(error);
        }
        pieceDone.notify_all();
    }
    void stop() {
        stopped = true;
        pieceDone.notify_all();
    }
    bool given() const { return failure || stopped; }

private:
    std::vector<bool> m_complete;        // piece k's at k - 1
    QHash<qint64, qint64> m_shortPieces; // those complete that are not full, with their lengths
};
