#include "DigestPipeline.h"

#include <algorithm>
#include <utility>

namespace {

// Enough for the feeder and the hashers not to wait on each other at a steady pace.
constexpr std::size_t kBuffers = 4;

} // namespace

DigestPipeline::DigestPipeline(PieceCheck check, Digests digests)
    : m_buffers(kBuffers)
    , m_check(std::move(check))
    , m_piecesHashed(digests == Digests::PiecesAndWhole) {
    try {
        m_tasks.emplace_back([this] { run(Whole); });
        if (m_piecesHashed)
            m_tasks.emplace_back([this] { run(Pieces); });
    } catch (...) { // no thread to spare: the one that started ends
        stop();
        throw;
    }
}

DigestPipeline::~DigestPipeline() {
    stop();
}

void DigestPipeline::stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_all();
    for (Task &task : m_tasks)
        task.wait();
}

void DigestPipeline::throwFailure() const {
    if (m_failure)
        throw *m_failure;
}

char *DigestPipeline::nextBuffer() {
    std::unique_lock lock(m_mutex);
    // The buffer m_given is free once both hashers are past its last use.
    m_changed.wait(lock, [this] {
        const std::size_t hashed =
            m_piecesHashed ? std::min(m_hashed[Pieces], m_hashed[Whole]) : m_hashed[Whole];
        return m_failure || m_given - hashed < m_buffers.size();
    });
    throwFailure();
    return m_buffers[m_given % m_buffers.size()].bytes.get();
}

void DigestPipeline::hash(qint64 bytes, bool endsPiece) {
    const std::lock_guard lock(m_mutex);
    Buffer &buffer = m_buffers[m_given % m_buffers.size()];
    buffer.size = bytes;
    buffer.endsPiece = endsPiece;
    ++m_given;
    m_changed.notify_all();
}

void DigestPipeline::run(Hasher hasher) {
    try {
        hash(hasher);
    } catch (...) { // memory ran out: the feeder hears of it at its next call
        const std::lock_guard lock(m_mutex);
        m_failure = Failure::current();
        m_changed.notify_all();
    }
}

void DigestPipeline::hash(Hasher hasher) {
    Sha256 &hash = hasher == Pieces ? m_pieceHash : m_wholeHash;
    qsizetype piecesHashed = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_hashed[hasher] < m_given || m_ending; });
        if (m_hashed[hasher] == m_given)
            return; // ending, and everything hashed
        const Buffer &buffer = m_buffers[m_hashed[hasher] % m_buffers.size()];
        lock.unlock();
        hash.add(buffer.bytes.get(), buffer.size);
        const bool endsPiece = hasher == Pieces && buffer.endsPiece;
        QByteArray digest = endsPiece ? hash.hexDigest() : QByteArray();
        if (endsPiece && m_check)
            m_check(piecesHashed, digest);
        piecesHashed += endsPiece ? 1 : 0;
        lock.lock();
        if (endsPiece)
            m_pieceDigests.append(std::move(digest));
        ++m_hashed[hasher];
        m_changed.notify_all();
    }
}

void DigestPipeline::waitUntilHashed() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] {
        return m_failure ||
               ((!m_piecesHashed || m_hashed[Pieces] == m_given) && m_hashed[Whole] == m_given);
    });
    throwFailure();
}

QList<QByteArray> DigestPipeline::pieceDigests() {
    waitUntilHashed();
    const std::lock_guard lock(m_mutex);
    return m_pieceDigests;
}

QByteArray DigestPipeline::wholeDigest() {
    waitUntilHashed();
    return m_wholeHash.hexDigest();
}
