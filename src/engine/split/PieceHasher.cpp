#include "split/PieceHasher.h"

#include "Failure.h"
#include "SourceFile.h"
#include "UncachedReader.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"
#include "split/CutState.h"
#include "split/PieceCutter.h"

#include <algorithm>

PieceHasher::PieceHasher(const CutPlan &plan, CutState &state, const StopRequest &stop)
    : m_plan(plan)
    , m_state(state)
    , m_stop(stop)
    , m_task([this] { run(); }) {}

void PieceHasher::finish(qint64 pieces, CutResult &result) {
    m_task.wait();
    if (!m_digests)
        return;
    result.pieceDigests = std::move(m_digests->pieceDigests());
    result.pieceDigests.keepFirst(pieces);
    result.wholeDigest = m_digests->wholeDigest();
}

void PieceHasher::run() {
    try {
        m_digests.emplace(DigestPipeline::PieceCheck{}, DigestPipeline::Digests::PiecesAndWhole,
                          m_plan.keptDigests());
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

std::optional<qint64> PieceHasher::completeLength(qint64 piece) {
    std::unique_lock lock(m_state.mutex);
    m_state.pieceDone.wait(lock, [&] {
        return m_state.given() || m_state.completeLength(piece) ||
               (m_state.copyingEnded && piece > m_state.count.last());
    });
    if (m_state.given())
        return std::nullopt;
    return m_state.completeLength(piece);
}

bool PieceHasher::hashPiece(const QByteArray &name, qint64 piece, qint64 length) {
    // The piece this cut wrote, and no file put at its name since.
    const SourceFile written(m_plan.folder, name);
    FileIdentity made;
    {
        const std::lock_guard lock(m_state.mutex);
        made = m_state.files.of(piece).value_or(FileIdentity{});
    }
    if (written.facts().identity != made)
        throw Failure(Failure::Code::ReplacedWhileWritten, written.path());
    // Its blocks are the source's, not in the cache under its name.
    UncachedReader reader(written.handle());
    qint64 hashed = 0;
    do {
        if (m_stop.requested())
            return false; // the workers see it too, and the cut ends stopped
        char *buffer = m_digests->nextBuffer();
        const qint64 asked = std::min(length - hashed, m_digests->room());
        const qint64 got = reader.readFully(buffer, asked, hashed);
        if (got < asked)
            throw Failure(Failure::Code::CutShortWhileWritten, written.path());
        hashed += got;
        m_digests->hash(got, hashed == length);
    } while (hashed < length);
    return true;
}
