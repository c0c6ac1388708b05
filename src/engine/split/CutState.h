#pragma once

#include "Failure.h"
#include "FileFacts.h"
#include "split/PieceCount.h"

#include <QHash>

#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>

// What the threads of one cut share, guarded by mutex.
struct CutState {
    static constexpr qint64 kNoPiece = std::numeric_limits<qint64>::max();

    explicit CutState(qint64 plannedPieces)
        : count(plannedPieces) {}

    std::mutex mutex;
    std::condition_variable pieceDone; // a piece is complete, or the cut has ended
    qint64 next = 1;                   // the piece to start next
    PieceCount count;
    bool stopped = false;
    bool copyingEnded = false; // every worker has returned
    qint64 failedPiece = kNoPiece;
    std::optional<Failure> failure;
    QHash<qint64, FileIdentity> made; // the pieces created, by number
    QHash<qint64, qint64> complete;   // the pieces complete, with their lengths

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
};
