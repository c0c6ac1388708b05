#include "split/PieceCutter.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"
#include "run/WorkerPool.h"
#include "split/CutState.h"
#include "split/PieceHasher.h"
#include "split/PieceWorker.h"
#include "split/SharedBlocks.h"

PieceCutter::PieceCutter(WorkerPool &pool, CopyMethod firstMethod, ProgressSink &progress,
                         const StopRequest &stop)
    : m_pool(pool)
    , m_firstMethod(firstMethod)
    , m_progress(progress)
    , m_stop(stop) {}

CutResult PieceCutter::cut(const CutPlan &plan, PieceFiles earlier) {
    CutState state(plan.plannedPieces, plan.pieceLength, std::move(earlier));
    CutResult result;
    try {
        if (!plan.hash)
            copy(plan, state);
        else if (piecesShareSourceBlocks(plan.source, plan.folder, plan.pieceLength))
            copyThenReadBack(plan, state, result);
        else
            copyThroughDigests(plan, state, result);
        if (state.failure)
            throw *state.failure;
        result.stopped = state.stopped || m_stop.requested();
        if (!result.stopped)
            complete(plan, state, result);
    } catch (...) {
        result.failure = Failure::current();
    }
    const std::lock_guard lock(state.mutex);
    result.files = std::move(state.files);
    return result;
}

void PieceCutter::copy(const CutPlan &plan, CutState &state) {
    m_pool.runOnAll([&](int) { work(plan, state, nullptr); });
    endCopying(state);
}

void PieceCutter::copyThenReadBack(const CutPlan &plan, CutState &state, CutResult &result) {
    PieceHasher hasher(plan, state, m_stop);
    copy(plan, state);
    hasher.finish(state.count.last(), result);
}

void PieceCutter::copyThroughDigests(const CutPlan &plan, CutState &state, CutResult &result) {
    DigestPipeline digests({}, DigestPipeline::Digests::PiecesAndWhole, plan.keptDigests());
    // Each piece is open until it is written: those waiting take an eighth of the descriptors
    // this process may have, however low its limit.
    digests.limitWrites(plan.folder.files().openFileLimit() / 8);
    // One thread reads, in the order the digests take the bytes; the pipeline's own write and
    // hash them on the other cores.
    work(plan, state, &digests);
    endCopying(state);
    {
        const std::lock_guard lock(state.mutex);
        if (state.given() || m_stop.requested())
            return;
    }
    result.pieceDigests = std::move(digests.pieceDigests());
    result.pieceDigests.keepFirst(state.count.last());
    result.wholeDigest = digests.wholeDigest();
}

void PieceCutter::work(const CutPlan &plan, CutState &state, DigestPipeline *digests) {
    try {
        PieceWorker(plan, state, m_firstMethod, m_progress, m_stop, digests).run();
    } catch (...) { // out of memory before the first piece
        const std::lock_guard lock(state.mutex);
        state.fail(state.next, Failure::current());
    }
}

void PieceCutter::endCopying(CutState &state) {
    const std::lock_guard lock(state.mutex);
    state.copyingEnded = true;
    state.pieceDone.notify_all();
}

void PieceCutter::complete(const CutPlan &plan, CutState &state, CutResult &result) const {
    // Pieces started past the source's end, when it turned out shorter than it reported.
    QByteArray name;
    const qint64 last = state.count.last();
    for (qint64 piece = state.files.made(); piece > last; --piece) {
        plan.names.setPieceOnDisk(name, piece);
        plan.folder.removeIfStill(name, *state.files.of(piece));
        state.files.dropLastMade(); // gone, or no longer the file it made
    }
    // Whatever was read of a source that changed meanwhile is no piece of one file.
    if (!plan.source.currentFacts().unchangedSince(plan.source.facts()))
        throw Failure(Failure::Code::ChangedWhileSplit, plan.source.path());
    result.pieces = last;
    // A piece that came short is the last: every one before it is full.
    result.pieceLengths = {last, plan.pieceLength, state.completeLength(last).value_or(0)};
}
