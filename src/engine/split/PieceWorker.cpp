#include "split/PieceWorker.h"

#include "DigestPipeline.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "UncachedWriter.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"
#include "split/CutState.h"
#include "split/PieceCutter.h"

#include <algorithm>
#include <memory>
#include <utility>

// A piece's file as the digests' writing thread writes it: past the page cache, or through it.
struct PieceWorker::DeferredPiece {
    DeferredPiece(FileHandle handle, bool pastCache)
        : file(std::move(handle)) {
        if (pastCache)
            uncached.emplace(file);
    }
    DeferredPiece(const DeferredPiece &) = delete;
    DeferredPiece &operator=(const DeferredPiece &) = delete;
    ~DeferredPiece() = default;

    void write(const char *bytes, qint64 size) {
        if (uncached)
            uncached->write(bytes, size);
        else
            file.write(bytes, size);
    }

    FileHandle file;
    std::optional<UncachedWriter> uncached; // after file: gone while it is still open
};

PieceWorker::PieceWorker(const CutPlan &plan, CutState &state, CopyMethod firstMethod,
                         ProgressSink &progress, const StopRequest &stop, DigestPipeline *digests)
    : m_plan(plan)
    , m_state(state)
    , m_copier(firstMethod)
    , m_progress(progress)
    , m_stop(stop)
    , m_digests(digests) {
    m_name.reserve(plan.names.fileName().size() * 3 + 24);
    if (plan.flushEarly)
        m_earlyFlush.emplace();
}

void PieceWorker::run() {
    for (;;) {
        const qint64 piece = startNextPiece();
        if (piece == CutState::kNoPiece)
            break;
        finishPiece(piece);
    }
    // A write that failed told its piece's failure itself.
    if (m_digests)
        m_digests->waitUntilWritten();
}

qint64 PieceWorker::startNextPiece() {
    const std::lock_guard lock(m_state.mutex);
    if (m_state.given() || m_state.next > m_state.count.last())
        return CutState::kNoPiece;
    if (m_stop.requested()) {
        m_state.stop();
        return CutState::kNoPiece;
    }
    const qint64 piece = m_state.next++;
    m_plan.names.setPieceOnDisk(m_name, piece);
    try {
        // An earlier piece the check found is written again in place; any other piece's name
        // must still be free.
        std::optional<FileIdentity> earlier = m_state.files.of(piece);
        if (piece > m_plan.plannedPieces)
            earlier = m_plan.checkLatePiece(m_name, piece, earlier);
        m_file = m_plan.folder.createOrReopen(m_name.constData(), earlier, m_plan.checkBegan);
        m_state.files.addMade(m_file.facts().identity);
        m_file.restrictPermissions(m_plan.permissions);
    } catch (...) {
        m_state.fail(piece, Failure::current());
        return CutState::kNoPiece;
    }
    return piece;
}

void PieceWorker::finishPiece(qint64 piece) {
    try {
        const std::optional<qint64> copied = copyPiece(piece);
        if (!copied) {
            const std::lock_guard lock(m_state.mutex);
            m_state.stop();
            return;
        }
        // Through the digests, the writing thread sends the piece on once it is written.
        if (!m_digests)
            sendOnItsWay(m_file, *copied);
        // Only a read past a full last piece tells whether the source goes on.
        const qint64 length = m_plan.pieceLength;
        const bool goesOn =
            *copied == length && piece >= m_plan.plannedPieces && sourceGoesOnAfter(piece * length);
        const std::lock_guard lock(m_state.mutex);
        m_state.pieceComplete(piece, *copied);
        m_state.count.pieceCopied(piece, *copied, length, goesOn);
        m_state.pieceDone.notify_all();
    } catch (...) {
        const std::lock_guard lock(m_state.mutex);
        m_state.fail(piece, Failure::current());
    }
}

void PieceWorker::sendOnItsWay(FileHandle &file, qint64 bytes) {
    // The piece is complete: its way to the disk starts now, not at the run's end, on the
    // flushing thread where that takes it, so that this one goes on to the next piece.
    if (m_plan.flushEachPiece)
        file.flushToDisk();
    else if (!m_earlyFlush || !m_earlyFlush->handOver(file, bytes))
        file.startWriteback(0, bytes);
    file.finish();
}

std::optional<qint64> PieceWorker::copyPiece(qint64 piece) {
    const qint64 length = m_plan.pieceLength;
    const qint64 start = (piece - 1) * length;
    qint64 copied = 0;
    // Through the digests' buffers, a piece of a buffer or more goes past the page cache, where
    // the copy into it would take a core from the hashing, on a volume flushed whole at the end
    // (as FUSE and network volumes are not); smaller pieces wait on the disk for less through the
    // cache.
    std::shared_ptr<DeferredPiece> deferred;
    if (m_digests) {
        deferred = std::make_shared<DeferredPiece>(
            std::move(m_file), m_plan.flushEarly && length >= DigestPipeline::kBufferBytes);
    }
    while (copied < length) {
        if (m_stop.requested())
            return std::nullopt;
        const qint64 asked = std::min(length - copied, PieceCutter::kChunkBytes);
        const qint64 got =
            m_digests ? copyThroughDigests(piece, copied, asked, copied + asked == length, deferred)
                      : m_copier.copy(m_plan.source, start + copied, m_file, asked);
        copied += got;
        m_progress.bytesCopied(got);
        if (got < asked)
            break; // the source ends in this piece
    }
    return copied;
}

qint64 PieceWorker::copyThroughDigests(qint64 piece, qint64 inPiece, qint64 count, bool endsPiece,
                                       const std::shared_ptr<DeferredPiece> &deferred) {
    const qint64 offset = (piece - 1) * m_plan.pieceLength + inPiece;
    qint64 copied = 0;
    while (copied < count) {
        // Past the cache, a piece starts on a buffer's first block, as its file does.
        const bool startsPiece = inPiece + copied == 0;
        char *buffer = m_digests->nextBuffer(deferred->uncached && startsPiece);
        const qint64 asked = std::min(count - copied, m_digests->room());
        const qint64 got = m_plan.source.readFully(buffer, asked, offset + copied);
        copied += got;
        const bool sourceEnded = got < asked;
        const bool ends = sourceEnded || (endsPiece && copied == count);
        // The piece's length once its last bytes are written.
        const std::optional<qint64> total = ends ? std::optional(inPiece + copied) : std::nullopt;
        m_digests->hash(got, ends, [this, piece, deferred, total](const char *bytes, qint64 size) {
            writeDeferred(piece, *deferred, bytes, size, total);
        });
        if (sourceEnded)
            break;
    }
    return copied;
}

void PieceWorker::writeDeferred(qint64 piece, DeferredPiece &deferred, const char *bytes,
                                qint64 size, std::optional<qint64> total) {
    try {
        deferred.write(bytes, size);
        if (total) {
            deferred.uncached.reset();
            sendOnItsWay(deferred.file, *total);
        }
    } catch (...) {
        const std::lock_guard lock(m_state.mutex);
        m_state.fail(piece, Failure::current());
        throw; // the pipeline makes no further write
    }
}

bool PieceWorker::sourceGoesOnAfter(qint64 offset) const {
    char byte = 0;
    return m_plan.source.readAt(&byte, 1, offset) > 0;
}
