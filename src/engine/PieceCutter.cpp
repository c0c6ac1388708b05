#include "PieceCutter.h"

#include "FileHandle.h"
#include "OutputFolder.h"
#include "PieceNames.h"
#include "SourceFile.h"
#include "WorkerPool.h"

#include <exception>
#include <limits>
#include <mutex>

namespace {

constexpr qint64 kNoPiece = std::numeric_limits<qint64>::max();

// What the threads of one cut share, guarded by mutex.
struct CutProgress {
    std::mutex mutex;
    qint64 next = 1;           // the piece to start next
    qint64 last = 1;           // no piece after this one is started
    qint64 highestStarted = 0; // pieces up to here exist
    qint64 lastPieceBytes = 0;
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
    PieceWorker(const CutPlan &plan, CutProgress &progress, CopyMethod firstMethod)
        : m_plan(plan)
        , m_progress(progress)
        , m_copier(firstMethod) {
        m_name.reserve(plan.namePrefix.size() + 24);
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
        const std::lock_guard lock(m_progress.mutex);
        if (m_progress.failure || m_progress.next > m_progress.last)
            return kNoPiece;
        const qint64 piece = m_progress.next++;
        setPieceName(m_name, m_plan.namePrefix, piece);
        try {
            if (piece > m_plan.checkedPieces)
                m_plan.checkLatePiece(m_name);
            m_file = m_plan.folder.create(m_name.constData());
            m_progress.highestStarted = piece;
        } catch (...) {
            m_progress.fail(piece, std::current_exception());
            return kNoPiece;
        }
        return piece;
    }

    void finishPiece(qint64 piece) {
        try {
            const qint64 length = m_plan.pieceLength;
            const RangeCopier::Result copied =
                m_copier.copy(m_plan.source, (piece - 1) * length, m_file.fd(), length);
            if (copied.targetError != 0)
                m_plan.folder.fail(m_name, copied.targetError);
            if (const int error = m_file.close())
                m_plan.folder.fail(m_name, error);
            // Only a read past a full last piece tells whether the source goes on.
            const bool goesOn = copied.copied == length && piece >= m_plan.plannedPieces &&
                                sourceGoesOnAfter(piece * length);
            const std::lock_guard lock(m_progress.mutex);
            if (copied.copied < length && piece < m_progress.last)
                m_progress.last = piece; // the source ends in this piece
            if (piece == m_progress.last) {
                m_progress.lastPieceBytes = copied.copied;
                if (goesOn)
                    ++m_progress.last;
            }
        } catch (...) {
            const std::lock_guard lock(m_progress.mutex);
            m_progress.fail(piece, std::current_exception());
        }
    }

    bool sourceGoesOnAfter(qint64 offset) const {
        char byte = 0;
        return m_plan.source.readAt(&byte, 1, offset) > 0;
    }

    const CutPlan &m_plan;
    CutProgress &m_progress;
    RangeCopier m_copier;
    QByteArray m_name;
    FileHandle m_file;
};

} // namespace

PieceCutter::PieceCutter(WorkerPool &pool, CopyMethod firstMethod)
    : m_pool(pool)
    , m_firstMethod(firstMethod) {}

CutResult PieceCutter::cut(const CutPlan &plan, const std::function<void()> &whileWaiting,
                           std::chrono::milliseconds interval) {
    CutProgress progress;
    progress.last = plan.plannedPieces;
    m_pool.runOnAll(
        [&](int) {
            try {
                PieceWorker(plan, progress, m_firstMethod).run();
            } catch (...) { // out of memory before the first piece
                const std::lock_guard lock(progress.mutex);
                progress.fail(progress.next, std::current_exception());
            }
        },
        whileWaiting, interval);
    if (progress.failure)
        std::rethrow_exception(progress.failure);

    // Pieces started past the source's end, when it turned out shorter than it reported.
    QByteArray name;
    for (qint64 piece = progress.last + 1; piece <= progress.highestStarted; ++piece) {
        setPieceName(name, plan.namePrefix, piece);
        plan.folder.remove(name);
    }
    return {progress.last, progress.lastPieceBytes};
}
