#include "PieceCutter.h"

#include "FileDigest.h"
#include "FileError.h"
#include "FileHandle.h"
#include "OutputFolder.h"
#include "OutputNames.h"
#include "RunProgress.h"
#include "Sha256.h"
#include "SourceFile.h"
#include "WorkerPool.h"
#include "Writeback.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <QHash>

namespace {

constexpr qint64 kNoPiece = std::numeric_limits<qint64>::max();

// A piece is hashed by reading it again through a buffer of this size: large enough for few
// calls, small enough to stay in the processor's cache while it is hashed.
constexpr qint64 kHashBufferBytes = qint64(1) << 20;

// What the threads of one cut share, guarded by mutex.
struct CutState {
    std::mutex mutex;
    qint64 next = 1;           // the piece to start next
    qint64 last = 1;           // no piece after this one is started
    qint64 highestStarted = 0; // pieces up to here exist
    bool stopped = false;
    qint64 failedPiece = kNoPiece;
    std::exception_ptr failure;
    QHash<qint64, QByteArray> digests; // of the pieces, with hashing
    qint64 bytes = 0;                  // in the pieces

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
        if (plan.hash)
            m_buffer = std::make_unique<char[]>(kHashBufferBytes);
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
            if (const int error = restrictPermissions(m_file.fd(), m_plan.permissions))
                m_plan.folder.fail(m_name, error);
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
                const qint64 got = copyChunk(start + copied, asked);
                copied += got;
                m_progress.bytesCopied(got);
                if (got < asked)
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
            if (m_plan.hash)
                m_state.digests.insert(piece, m_hash.hexDigest());
            m_state.bytes += copied;
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

    // Copies up to count bytes of the source at offset to the end of the piece; returns how
    // many, fewer only where the source ends. With hashing, the bytes copied are read again and
    // hashed: the kernel's copy and a read from the page cache cost less than writing through a
    // buffer, which measured twice as slow.
    qint64 copyChunk(qint64 offset, qint64 count) {
        const RangeCopier::Result chunk = m_copier.copy(m_plan.source, offset, m_file.fd(), count);
        if (chunk.targetError != 0)
            m_plan.folder.fail(m_name, chunk.targetError);
        for (qint64 hashed = 0; m_plan.hash && hashed < chunk.copied;) {
            const qint64 got = m_plan.source.readAt(
                m_buffer.get(), std::min(chunk.copied - hashed, kHashBufferBytes), offset + hashed);
            if (got == 0)
                throw FileError(m_plan.source.path(),
                                QStringLiteral("it changed while it was split"));
            m_hash.add(m_buffer.get(), got);
            hashed += got;
        }
        return chunk.copied;
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
    Sha256 m_hash;
    std::unique_ptr<char[]> m_buffer; // with hashing
};

// Hashes the whole source from its start to where a read returns nothing, on a thread of its
// own, until the cut fails or stops.
class WholeHasher {
public:
    WholeHasher(const SourceFile &source, CutState &state, const StopRequest &stop)
        : m_source(source)
        , m_state(state)
        , m_stop(stop)
        , m_thread([this] { run(); }) {}
    ~WholeHasher() {
        if (m_thread.joinable())
            m_thread.join();
    }

    // Waits for the end; then the digest and how many bytes it covers, unless the cut failed
    // or stopped first.
    const std::optional<FileDigest> &finish() {
        m_thread.join();
        return m_digest;
    }

private:
    void run() {
        try {
            m_digest = digestOfFile(m_source, [this] { return !m_stop.requested() && !given(); });
        } catch (...) {
            const std::lock_guard lock(m_state.mutex);
            m_state.fail(0, std::current_exception());
        }
    }

    bool given() {
        const std::lock_guard lock(m_state.mutex);
        return m_state.failure || m_state.stopped;
    }

    const SourceFile &m_source;
    CutState &m_state;
    const StopRequest &m_stop;
    std::optional<FileDigest> m_digest;
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
        std::optional<WholeHasher> whole;
        if (plan.hash)
            whole.emplace(plan.source, state, m_stop);
        m_pool.runOnAll([&](int) {
            try {
                PieceWorker(plan, state, m_firstMethod, m_progress, m_stop).run();
            } catch (...) { // out of memory before the first piece
                const std::lock_guard lock(state.mutex);
                state.fail(state.next, std::current_exception());
            }
        });
        const std::optional<FileDigest> wholeDigest =
            whole ? whole->finish() : std::optional<FileDigest>();
        if (state.failure)
            std::rethrow_exception(state.failure);
        result.stopped = state.stopped || m_stop.requested();
        if (!result.stopped) {
            // Pieces started past the source's end, when it turned out shorter than it reported.
            QByteArray name;
            for (qint64 piece = state.last + 1; piece <= state.highestStarted; ++piece) {
                plan.names.setPieceOnDisk(name, piece);
                plan.folder.remove(name);
            }
            result.pieces = state.last;
            if (whole) {
                // Read twice, once for the pieces and once whole, the file must have held still.
                if (wholeDigest.value().bytes != state.bytes)
                    throw FileError(plan.source.path(),
                                    QStringLiteral("it changed while it was split"));
                result.wholeDigest = wholeDigest->hex;
                for (qint64 piece = 1; piece <= state.last; ++piece)
                    result.pieceDigests.append(state.digests.value(piece));
            }
        }
    } catch (...) {
        result.failure = std::current_exception();
    }
    const std::lock_guard lock(state.mutex);
    result.highestStarted = state.highestStarted;
    return result;
}
