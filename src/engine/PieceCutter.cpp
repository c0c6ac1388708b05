#include "PieceCutter.h"

#include "FileHandle.h"
#include "OutputFolder.h"
#include "OutputNames.h"
#include "RunProgress.h"
#include "SourceFile.h"
#include "WorkerPool.h"
#include "Writeback.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <mutex>

namespace {

constexpr qint64 kNoPiece = std::numeric_limits<qint64>::max();

// What the threads of one cut share, guarded by mutex.
struct CutState {
    std::mutex mutex;
    qint64 next = 1;           // the piece to start next
    qint64 last = 1;           // no piece after this one is started
    qint64 highestStarted = 0; // pieces up to here exist
    bool stopped = false;
    qint64 failedPiece = kNoPiece;
    std::exception_ptr failure;

    // Under mutex.
    void fail(qint64 piece, std::exception_ptr error) {
        if (piece < failedPiece) {
            failedPiece = piece;
            failure = std::move(error);
        }
    }
};

class PieceWorker {
public:
    PieceWorker(const CutPlan &plan, CutState &state, CopyMethod firstMethod,
                ProgressSink &progress, const StopRequest &stop)
        : m_plan(plan)
        , m_state(state)
        , m_copier(firstMethod)
        , m_progress(progress)
        , m_stop(stop) {
        m_name.reserve(plan.names.fileName().size() * 3 + 24);
    }

    void run() {
        for (;;) {
            const qint64 piece = startNextPiece();
            if (piece == kNoPiece)
                return;
            finishPiece(piece);
        }
    }

private:
    // Takes the next piece and creates its file, in number order across the threads.
    qint64 startNextPiece() {
        const std::lock_guard lock(m_state.mutex);
        if (m_state.failure || m_state.stopped || m_state.next > m_state.last)
            return kNoPiece;
        if (m_stop.requested()) {
            m_state.stopped = true;
            return kNoPiece;
        }
        const qint64 piece = m_state.next++;
        m_plan.names.setPieceOnDisk(m_name, piece);
        try {
            if (piece > m_plan.plannedPieces)
                m_plan.checkLatePiece(m_name);
            m_file = m_plan.folder.create(m_name.constData());
            m_state.highestStarted = piece;
        } catch (...) {
            m_state.fail(piece, std::current_exception());
            return kNoPiece;
        }
        return piece;
    }

    void finishPiece(qint64 piece) {
        try {
            const qint64 length = m_plan.pieceLength;
            const qint64 start = (piece - 1) * length;
            qint64 copied = 0;
            while (copied < length) {
                if (m_stop.requested()) {
                    const std::lock_guard lock(m_state.mutex);
                    m_state.stopped = true;
                    return;
                }
                const qint64 asked = std::min(length - copied, PieceCutter::kChunkBytes);
                const RangeCopier::Result chunk =
                    m_copier.copy(m_plan.source, start + copied, m_file.fd(), asked);
                if (chunk.targetError != 0)
                    m_plan.folder.fail(m_name, chunk.targetError);
                copied += chunk.copied;
                m_progress.bytesCopied(chunk.copied);
                if (chunk.copied < asked)
                    break; // the source ends in this piece
            }
            // The piece is complete: its way to the disk starts now, not at the run's end.
            if (m_plan.flushEachPiece) {
                if (const int error = flushToDisk(m_file.fd()))
                    m_plan.folder.fail(m_name, error);
            } else {
                startWriteback(m_file.fd(), 0, copied);
            }
            if (const int error = m_file.close())
                m_plan.folder.fail(m_name, error);
            // Only a read past a full last piece tells whether the source goes on.
            const bool goesOn = copied == length && piece >= m_plan.plannedPieces &&
                                sourceGoesOnAfter(piece * length);
            const std::lock_guard lock(m_state.mutex);
            if (copied < length && piece < m_state.last)
                m_state.last = piece; // the source ends in this piece
            if (copied == 0 && piece > 1 && piece <= m_state.last)
                m_state.last = piece - 1; // it ended with the piece before: none is empty
            if (piece == m_state.last && goesOn)
                ++m_state.last;
        } catch (...) {
            const std::lock_guard lock(m_state.mutex);
            m_state.fail(piece, std::current_exception());
        }
    }

    bool sourceGoesOnAfter(qint64 offset) const {
        char byte = 0;
        return m_plan.source.readAt(&byte, 1, offset) > 0;
    }

    const CutPlan &m_plan;
    CutState &m_state;
    RangeCopier m_copier;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    QByteArray m_name;
    FileHandle m_file;
};

} // namespace

PieceCutter::PieceCutter(WorkerPool &pool, CopyMethod firstMethod, ProgressSink &progress,
                         const StopRequest &stop)
    : m_pool(pool)
    , m_firstMethod(firstMethod)
    , m_progress(progress)
    , m_stop(stop) {}

CutResult PieceCutter::cut(const CutPlan &plan) {
    CutState state;
    state.last = plan.plannedPieces;
    m_pool.runOnAll([&](int) {
        try {
            PieceWorker(plan, state, m_firstMethod, m_progress, m_stop).run();
        } catch (...) { // out of memory before the first piece
            const std::lock_guard lock(state.mutex);
            state.fail(state.next, std::current_exception());
        }
    });
    if (state.failure)
        std::rethrow_exception(state.failure);
    if (state.stopped)
        return {0, true, state.highestStarted};

    // Pieces started past the source's end, when it turned out shorter than it reported.
    QByteArray name;
    for (qint64 piece = state.last + 1; piece <= state.highestStarted; ++piece) {
        plan.names.setPieceOnDisk(name, piece);
        plan.folder.remove(name);
    }
    return {state.last, false, state.highestStarted};
}
