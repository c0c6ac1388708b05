#include "split/PieceCutter.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"
#include "run/WorkerPool.h"
#include "split/CutState.h"
#include "split/PieceHasher.h"
#include "split/PieceWorker.h"

#include <optional>

PieceCutter::PieceCutter(WorkerPool &pool, CopyMethod firstMethod, ProgressSink &progress,
                         const StopRequest &stop)
    : m_pool(pool)
    , m_firstMethod(firstMethod)
    , m_progress(progress)
    , m_stop(stop) {}

CutResult PieceCutter::cut(const CutPlan &plan) {
    CutState state(plan.plannedPieces);
    CutResult result;
    try {
        std::optional<PieceHasher> hasher;
        if (plan.hash)
            hasher.emplace(plan, state, m_stop);
        copy(plan, state);
        if (hasher)
            hasher->finish(state.count.last(), result);
        if (state.failure)
            throw *state.failure;
        result.stopped = state.stopped || m_stop.requested();
        if (!result.stopped)
            complete(plan, state, result);
    } catch (...) {
        result.failure = Failure::current();
    }
    const std::lock_guard lock(state.mutex);
    result.made = state.made;
    return result;
}

void PieceCutter::copy(const CutPlan &plan, CutState &state) {
    m_pool.runOnAll([&](int) {
        try {
            PieceWorker(plan, state, m_firstMethod, m_progress, m_stop).run();
        } catch (...) { // out of memory before the first piece
            const std::lock_guard lock(state.mutex);
            state.fail(state.next, Failure::current());
        }
    });
    const std::lock_guard lock(state.mutex);
    state.copyingEnded = true;
    state.pieceDone.notify_all();
}

void PieceCutter::complete(const CutPlan &plan, CutState &state, CutResult &result) const {
    // Pieces started past the source's end, when it turned out shorter than it reported.
    QByteArray name;
    const qint64 last = state.count.last();
    for (qint64 piece = last + 1; state.made.contains(piece); ++piece) {
        plan.names.setPieceOnDisk(name, piece);
        if (plan.folder.removeIfStill(name, state.made.value(piece)))
            state.made.remove(piece);
    }
    // Whatever was read of a source that changed meanwhile is no piece of one file.
    if (!plan.source.currentFacts().unchangedSince(plan.source.facts()))
        throw Failure(Failure::Code::ChangedWhileSplit, plan.source.path());
    result.pieces = last;
    for (qint64 piece = 1; piece <= last; ++piece)
        result.pieceLengths.append(state.complete.value(piece));
}
