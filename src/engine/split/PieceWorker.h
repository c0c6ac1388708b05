#pragma once

#include "FileHandle.h"
#include "RangeCopier.h"

#include <QByteArray>

class ProgressSink;
class StopRequest;
struct CutPlan;
struct CutState;

// One thread's part of a cut: it takes the next piece, in number order with the other threads,
// creates its file and copies it in chunks, until no piece is left, a stop comes or a piece
// fails.
class PieceWorker {
public:
    PieceWorker(const CutPlan &plan, CutState &state, CopyMethod firstMethod,
                ProgressSink &progress, const StopRequest &stop);

    void run();

private:
    // The next piece, its file created; CutState::kNoPiece when there is none to start.
    qint64 startNextPiece();
    void finishPiece(qint64 piece);
    // Copies the piece in chunks; its bytes, or nothing when a stop came first.
    std::optional<qint64> copyPiece(qint64 piece);
    bool sourceGoesOnAfter(qint64 offset) const;

    const CutPlan &m_plan;
    CutState &m_state;
    RangeCopier m_copier;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    QByteArray m_name;
    FileHandle m_file;
};
