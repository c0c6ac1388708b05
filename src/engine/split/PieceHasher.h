#pragma once

#include "DigestPipeline.h"
#include "Task.h"

#include <QByteArray>

#include <optional>

class StopRequest;
struct CutPlan;
struct CutResult;
struct CutState;

// Reads a cut's pieces back as they are complete, in number order, on a task of its own, and
// hashes them, each and as a whole, until the cut ends, fails or stops: the digests are of the
// bytes the pieces hold. For pieces that share the source's blocks, which the kernel's copy
// makes without writing them, and a pass through memory would write.
class PieceHasher {
public:
    PieceHasher(const CutPlan &plan, CutState &state, const StopRequest &stop);

    // Waits until the last piece is hashed; then the digests of the pieces up to pieces and of
    // the whole, unless the cut failed or stopped first.
    void finish(qint64 pieces, CutResult &result);

private:
    void run();
    // Waits until piece is complete and returns its length; nothing once the cut has ended
    // before it, or has failed or stopped.
    std::optional<qint64> completeLength(qint64 piece);
    // Hashes the piece at name as it was written; false when a stop came first.
    bool hashPiece(const QByteArray &name, qint64 piece, qint64 length);

    const CutPlan &m_plan;
    CutState &m_state;
    const StopRequest &m_stop;
    std::optional<DigestPipeline> m_digests;
    Task m_task; // last: it starts once the rest is made
};
