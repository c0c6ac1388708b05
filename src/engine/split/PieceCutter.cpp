#include "split/PieceCutter.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "FileHandle.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "Writeback.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"
#include "run/WorkerPool.h"

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>

namespace {

constexpr qint64 kNoPiece = std::numeric_limits<qint64>::max();

[[noreturn]] void sourceChanged(const SourceFile &source) {
    throw Failure(Failure::Kind::Changed, source.path(),
                  QStringLiteral("it changed while it was split"));
}

// What the threads of one cut share, guarded by mutex.
struct CutState {
    std::mutex mutex;
    std::condition_variable pieceDone; // a piece is complete, or the cut has ended
    qint64 next = 1;                   // the piece to start next
    qint64 last = 1;                   // no piece after this one is started
    bool stopped = false;
    bool copyingEnded = false; // every worker has returned
    qint64 failedPiece = kNoPiece;
    std::optional<Failure> failure;
    QHash<qint64, FileIdentity> made; // the pieces created, by number
    QHash<qint64, qint64> complete;   // the pieces complete, with their lengths
    qint64 bytes = 0;                 // in the pieces

    // Under mutex.
    void fail(qint64 piece, Failure error) {
        if (piece < failedPiece) {
            failedPiece = piece;
            failure = std::move(error);
        }
        pieceDone.notify_all();
    }
    bool given() const { return failure || stopped; }
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
        if (m_state.given() || m_state.next > m_state.last)
            return kNoPiece;
        if (m_stop.requested()) {
            m_state.stopped = true;
            m_state.pieceDone.notify_all();
            return kNoPiece;
        }
        const qint64 piece = m_state.next++;
        m_plan.names.setPieceOnDisk(m_name, piece);
        try {
            if (piece > m_plan.plannedPieces)
                m_plan.checkLatePiece(m_name);
            m_file = m_plan.folder.create(m_name.constData());
            m_state.made.insert(piece, m_file.facts().identity);
            m_file.restrictPermissions(m_plan.permissions);
        } catch (...) {
            m_state.fail(piece, Failure::current());
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
                    m_state.pieceDone.notify_all();
                    return;
                }
                const qint64 asked = std::min(length - copied, PieceCutter::kChunkBytes);
                const qint64 got = m_copier.copy(m_plan.source, start + copied, m_file, asked);
                copied += got;
                m_progress.bytesCopied(got);
                if (got < asked)
                    break; // the source ends in this piece
            }
            // The piece is complete: its way to the disk starts now, not at the run's end.
            if (m_plan.flushEachPiece)
                m_file.flushToDisk();
            else
                startWriteback(m_file.fd(), 0, copied);
            m_file.finish();
            // Only a read past a full last piece tells whether the source goes on.
            const bool goesOn = copied == length && piece >= m_plan.plannedPieces &&
                                sourceGoesOnAfter(piece * length);
            const std::lock_guard lock(m_state.mutex);
            m_state.bytes += copied;
            m_state.complete.insert(piece, copied);
            if (copied < length && piece < m_state.last)
                m_state.last = piece; // the source ends in this piece
            if (copied == 0 && piece > 1 && piece <= m_state.last)
                m_state.last = piece - 1; // it ended with the piece before: none is empty
            if (piece == m_state.last && goesOn)
                ++m_state.last;
            m_state.pieceDone.notify_all();
        } catch (...) {
            const std::lock_guard lock(m_state.mutex);
            m_state.fail(piece, Failure::current());
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

// Reads the pieces back as they are complete, in number order, on a thread of its own, and
// hashes them, each and as a whole, until the cut ends, fails or stops.
class PieceHasher {
public:
    PieceHasher(const CutPlan &plan, CutState &state, const StopRequest &stop)
        : m_plan(plan)
        , m_state(state)
        , m_stop(stop)
        , m_thread([this] { run(); }) {}
    ~PieceHasher() {
        if (m_thread.joinable())
            m_thread.join();
    }

    // Waits until the last piece is hashed; then the digests of the pieces up to pieces and of
    // the whole, unless the cut failed or stopped first.
    void finish(qint64 pieces, CutResult &result) {
        m_thread.join();
        if (!m_digests)
            return;
        result.pieceDigests = m_digests->pieceDigests().mid(0, pieces);
        result.wholeDigest = m_digests->wholeDigest();
    }

private:
    void run() {
        try {
            m_digests.emplace();
            QByteArray name;
            for (qint64 piece = 1;; ++piece) {
                const std::optional<qint64> length = completeLength(piece);
                if (!length)
                    break;
                m_plan.names.setPieceOnDisk(name, piece);
                if (!hashPiece(name, piece, *length))
                    break;
            }
            const std::lock_guard lock(m_state.mutex);
            if (m_state.given() || m_stop.requested())
                m_digests.reset();
        } catch (...) {
            m_digests.reset();
            const std::lock_guard lock(m_state.mutex);
            m_state.fail(0, Failure::current());
        }
    }

    // Waits until piece is complete and returns its length; nothing once the cut has ended
    // before it, or has failed or stopped.
    std::optional<qint64> completeLength(qint64 piece) {
        std::unique_lock lock(m_state.mutex);
        m_state.pieceDone.wait(lock, [&] {
            return m_state.given() || m_state.complete.contains(piece) ||
                   (m_state.copyingEnded && piece > m_state.last);
        });
        if (m_state.given() || !m_state.complete.contains(piece))
            return std::nullopt;
        return m_state.complete.value(piece);
    }

    // Hashes the piece at name as it was written; false when a stop came first.
    bool hashPiece(const QByteArray &name, qint64 piece, qint64 length) {
        // The piece this cut wrote, and no file put at its name since.
        const SourceFile written(m_plan.folder, name);
        FileIdentity made;
        {
            const std::lock_guard lock(m_state.mutex);
            made = m_state.made.value(piece);
        }
        if (written.facts().identity != made)
            throw Failure(Failure::Kind::Changed, written.path(),
                          QStringLiteral("it was replaced while it was written"));
        qint64 hashed = 0;
        do {
            if (m_stop.requested())
                return false; // the workers see it too, and the cut ends stopped
            char *buffer = m_digests->nextBuffer();
            const qint64 got = written.readAt(
                buffer, std::min(length - hashed, DigestPipeline::kBufferBytes), hashed);
            if (got == 0 && length > 0)
                throw Failure(Failure::Kind::Changed, written.path(),
                              QStringLiteral("it was cut short while it was "
                                             "written"));
            hashed += got;
            m_digests->hash(got, hashed == length);
        } while (hashed < length);
        return true;
    }

    const CutPlan &m_plan;
    CutState &m_state;
    const StopRequest &m_stop;
    std::optional<DigestPipeline> m_digests;
    std::thread m_thread; // last: it starts once the rest is made
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
    CutResult result;
    try {
        std::optional<PieceHasher> hasher;
        if (plan.hash)
            hasher.emplace(plan, state, m_stop);
        m_pool.runOnAll([&](int) {
            try {
                PieceWorker(plan, state, m_firstMethod, m_progress, m_stop).run();
            } catch (...) { // out of memory before the first piece
                const std::lock_guard lock(state.mutex);
                state.fail(state.next, Failure::current());
            }
        });
        {
            const std::lock_guard lock(state.mutex);
            state.copyingEnded = true;
            state.pieceDone.notify_all();
        }
        if (hasher)
            hasher->finish(state.last, result);
        if (state.failure)
            throw *state.failure;
        result.stopped = state.stopped || m_stop.requested();
        if (!result.stopped) {
            // Pieces started past the source's end, when it turned out shorter than it reported.
            QByteArray name;
            for (qint64 piece = state.last + 1; state.made.contains(piece); ++piece) {
                plan.names.setPieceOnDisk(name, piece);
                if (plan.folder.removeIfStill(name, state.made.value(piece)))
                    state.made.remove(piece);
            }
            // Whatever was read of a source that changed meanwhile is no piece of one file.
            if (!plan.source.currentFacts().unchangedSince(plan.source.facts()))
                sourceChanged(plan.source);
            result.pieces = state.last;
            for (qint64 piece = 1; piece <= state.last; ++piece)
                result.pieceLengths.append(state.complete.value(piece));
        }
    } catch (...) {
        result.failure = Failure::current();
    }
    const std::lock_guard lock(state.mutex);
    result.made = state.made;
    return result;
}
