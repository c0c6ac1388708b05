#include "verify/PieceCheck.h"

#include "OutputFolder.h"
#include "SourceFile.h"
#include "Task.h"
#include "checksums/ChecksumList.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"
#include "run/WorkerPool.h"

#include <algorithm>
#include <array>

namespace {

constexpr qint64 kChunkBytes = qint64(1) << 20;
// Less room than this left in a chunk, and the next bytes go to the next one.
constexpr qint64 kLeastRoom = qint64(64) << 10;
// Two: one read into while the stream hashes the other.
constexpr std::size_t kChunksPerWorker = 2;
// Enough that small pieces share chunks, few enough that workers read side by side.
constexpr qint64 kPiecesPerRun = 64;

} // namespace

struct PieceCheck::Chunk {
    std::unique_ptr<char[]> bytes = std::make_unique<char[]>(kChunkBytes);
    qint64 size = 0;
    bool endsRun = false;
    bool withStream = false; // waiting for the stream, or being hashed by it
};

struct PieceCheck::Worker {
    std::array<Chunk, kChunksPerWorker> chunks;
    std::size_t next = 0;
    Chunk *filling = nullptr;
    qint64 run = 0;
    qint64 piece = 0;      // being read
    qint64 unreported = 0; // bytes read, not yet told
    Sha256 hash;
};

std::optional<VerifyResult::Entry> notAFile(const OutputFolder &folder, const QString &text) {
    const FileFacts facts = folder.facts(fileSystemName(text));
    if (facts.kind == FileKind::Missing)
        return VerifyResult::Entry{text, PieceStatus::Missing, FileKind::Missing};
    if (facts.kind != FileKind::Regular)
        return VerifyResult::Entry{text, PieceStatus::Damaged, facts.kind};
    return std::nullopt;
}

PieceCheck::PieceCheck(const OutputFolder &folder, const OutputNames &names,
                       const ChecksumList &list, ProgressSink &progress, const StopRequest &stop,
                       qint64 first)
    : m_folder(folder)
    , m_names(names)
    , m_list(list)
    , m_first(first)
    , m_last(list.pieces.size())
    , m_progress(progress)
    , m_stop(stop)
    , m_entries(std::size_t(std::max<qint64>(0, m_last - first + 1)))
    , m_runs((qint64(m_entries.size()) + kPiecesPerRun - 1) / kPiecesPerRun) {}

PieceCheck::~PieceCheck() = default;

bool PieceCheck::run(QList<VerifyResult::Entry> &pieces) {
    {
        WorkerPool pool;
        std::vector<Worker> workers(std::size_t(pool.size()));
        // Started after the pool, so that it ends first: the workers wait for it no more.
        const Task stream([this] { hashStream(); });
        pool.runOnAll([&](int thread) { check(workers[std::size_t(thread)]); });
        {
            const std::lock_guard lock(m_mutex);
            if (m_failure)
                throw *m_failure;
        }
    }
    bool everyPiece = true;
    for (const std::optional<VerifyResult::Entry> &entry : m_entries) {
        everyPiece = everyPiece && entry->standing == FileKind::Regular;
        pieces.append(*entry);
    }
    return everyPiece;
}

QByteArray PieceCheck::wholeDigest() {
    return m_whole.hexDigest();
}

void PieceCheck::check(Worker &worker) {
    for (worker.run = m_nextRun++; worker.run < m_runs; worker.run = m_nextRun++) {
        const qint64 first = m_first + worker.run * kPiecesPerRun;
        const qint64 last = std::min(m_last, first + kPiecesPerRun - 1);
        qint64 piece = first;
        worker.piece = first;
        try {
            worker.filling = nullptr;
            handOver(worker, false);
            for (; piece <= last; ++piece) {
                if (pastFailure(piece))
                    return;
                checkPiece(worker, piece);
            }
            handOver(worker, true);
        } catch (...) {
            failed(piece, Failure::current());
            return;
        }
    }
}

void PieceCheck::checkPiece(Worker &worker, qint64 piece) {
    const QString text = m_names.piece(piece);
    std::optional<VerifyResult::Entry> &entry = m_entries[std::size_t(piece - m_first)];
    entry = notAFile(m_folder, text);
    if (entry)
        return;
    if (m_stop.requested())
        throw Failure::stopped();
    worker.piece = piece;
    const SourceFile file(m_folder, fileSystemName(text));
    // A file is read until a read gives nothing.
    for (qint64 offset = 0;;) {
        if (kChunkBytes - worker.filling->size < kLeastRoom)
            handOver(worker, false);
        Chunk &chunk = *worker.filling;
        const qint64 got =
            file.readAt(chunk.bytes.get() + chunk.size, kChunkBytes - chunk.size, offset);
        worker.hash.add(chunk.bytes.get() + chunk.size, got);
        chunk.size += got;
        offset += got;
        worker.unreported += got;
        if (got == 0)
            break;
    }
    entry = VerifyResult::Entry{text,
                                worker.hash.hexDigest() == m_list.pieces[piece - 1]
                                    ? PieceStatus::Matches
                                    : PieceStatus::Damaged,
                                FileKind::Regular};
}

void PieceCheck::handOver(Worker &worker, bool endsRun) {
    if (worker.filling) {
        worker.filling->endsRun = endsRun;
        {
            const std::lock_guard lock(m_mutex);
            // After a failure the stream's digest is of no use: it hashes nothing more.
            if (!m_failure) {
                worker.filling->withStream = true;
                m_waiting[worker.run].push_back(worker.filling);
            }
        }
        m_queued.notify_one();
    }
    if (worker.unreported > 0) {
        const std::lock_guard lock(m_progressMutex);
        m_progress.bytesCopied(worker.unreported);
        worker.unreported = 0;
    }
    if (endsRun)
        return;
    if (m_stop.requested() || pastFailure(worker.piece))
        throw Failure::stopped();
    Chunk &next = worker.chunks[worker.next];
    worker.next = (worker.next + 1) % worker.chunks.size();
    {
        std::unique_lock lock(m_mutex);
        m_freed.wait(lock, [&next] { return !next.withStream; });
    }
    next.size = 0;
    next.endsRun = false;
    worker.filling = &next;
}

void PieceCheck::hashStream() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [this] {
            return m_failure || m_streamAt == m_runs || m_waiting.contains(m_streamAt);
        });
        if (m_failure || m_streamAt == m_runs)
            return;
        std::deque<Chunk *> &waiting = m_waiting[m_streamAt];
        Chunk *chunk = waiting.front();
        waiting.pop_front();
        if (waiting.empty())
            m_waiting.remove(m_streamAt);
        lock.unlock();
        m_whole.add(chunk->bytes.get(), chunk->size);
        lock.lock();
        if (chunk->endsRun)
            ++m_streamAt;
        chunk->withStream = false;
        m_freed.notify_all();
    }
}

bool PieceCheck::pastFailure(qint64 piece) {
    const std::lock_guard lock(m_mutex);
    return m_failedPiece && *m_failedPiece < piece;
}

void PieceCheck::failed(qint64 piece, Failure failure) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_failedPiece && *m_failedPiece < piece)
            return;
        m_failedPiece = piece;
        m_failure = std::move(failure);
        // What the stream has not taken yet it never will: those chunks are free again.
        for (std::deque<Chunk *> &waiting : m_waiting) {
            for (Chunk *chunk : waiting)
                chunk->withStream = false;
        }
        m_waiting.clear();
    }
    m_queued.notify_all();
    m_freed.notify_all();
}
