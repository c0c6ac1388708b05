#include "DigestPipeline.h"

#include "CacheBypass.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// Enough for the feeder and the hashers not to wait on each other at a steady pace.
constexpr std::size_t kBuffers = 4;
// Less room than this left in the buffer being filled, and the next bytes go to the next one:
// small pieces share a buffer, so the hashers are woken once for many of them.
constexpr qint64 kLeastRoom = qint64(64) << 10;

} // namespace

std::unique_ptr<char[], DigestPipeline::FreeAligned> DigestPipeline::allocateAligned() {
    return std::unique_ptr<char[], FreeAligned>(
        static_cast<char *>(::operator new[](kBufferBytes, std::align_val_t(CacheBypass::kBlock))));
}

void DigestPipeline::FreeAligned::operator()(char *bytes) const noexcept {
    ::operator delete[](bytes, std::align_val_t(CacheBypass::kBlock));
}

DigestPipeline::DigestPipeline(PieceCheck check, Digests digests, PieceDigests kept)
    : m_buffers(kBuffers)
    , m_check(std::move(check))
    , m_piecesHashed(digests == Digests::PiecesAndWhole)
    , m_pieceDigests(std::move(kept)) {
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
        handOff(); // what was given is hashed before the end
        m_ending = true;
    }
    m_givenMore.notify_all();
    for (Task &task : m_tasks)
        task.wait();
}

void DigestPipeline::throwFailure() const {
    if (m_failure)
        throw *m_failure;
}

char *DigestPipeline::nextBuffer(bool fresh) {
    std::unique_lock lock(m_mutex);
    if (m_filling) {
        Buffer &buffer = m_buffers[m_given % m_buffers.size()];
        if (buffer.size == 0 || (!fresh && kBufferBytes - buffer.size >= kLeastRoom))
            return buffer.bytes.get() + buffer.size;
        handOff();
    }
    // The buffer m_given is free once both hashers are past its last use.
    m_hashedMore.wait(lock, [this] {
        const std::size_t hashed =
            m_piecesHashed ? std::min(m_hashed[Pieces], m_hashed[Whole]) : m_hashed[Whole];
        return m_failure || m_given - hashed < m_buffers.size();
    });
    throwFailure();
    Buffer &buffer = m_buffers[m_given % m_buffers.size()];
    buffer.size = 0;
    buffer.pieceEnds.clear();
    m_filling = true;
    return buffer.bytes.get();
}

qint64 DigestPipeline::room() const {
    return kBufferBytes - m_buffers[m_given % m_buffers.size()].size;
}

void DigestPipeline::hash(qint64 bytes, bool endsPiece) {
    const std::lock_guard lock(m_mutex);
    Buffer &buffer = m_buffers[m_given % m_buffers.size()];
    buffer.size += bytes;
    if (endsPiece)
        buffer.pieceEnds.push_back(buffer.size);
    if (buffer.size == kBufferBytes)
        handOff();
}

void DigestPipeline::handOff() {
    if (!m_filling)
        return;
    m_filling = false;
    ++m_given;
    m_givenMore.notify_all();
}

void DigestPipeline::run(Hasher hasher) {
    try {
        hash(hasher);
    } catch (...) { // memory ran out: the feeder hears of it at its next call
        const std::lock_guard lock(m_mutex);
        m_failure = Failure::current();
        m_hashedMore.notify_all();
    }
}

void DigestPipeline::hash(Hasher hasher) {
    Sha256 &hash = hasher == Pieces ? m_pieceHash : m_wholeHash;
    qsizetype piecesHashed = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_givenMore.wait(lock, [&] { return m_hashed[hasher] < m_given || m_ending; });
        if (m_hashed[hasher] == m_given)
            return; // ending, and everything hashed
        const Buffer &buffer = m_buffers[m_hashed[hasher] % m_buffers.size()];
        lock.unlock();
        QList<QByteArray> digests;
        qint64 hashed = 0;
        if (hasher == Pieces) {
            for (const qint64 end : buffer.pieceEnds) {
                hash.add(buffer.bytes.get() + hashed, end - hashed);
                digests.append(hash.hexDigest());
                if (m_check)
                    m_check(piecesHashed, digests.last());
                ++piecesHashed;
                hashed = end;
            }
        }
        hash.add(buffer.bytes.get() + hashed, buffer.size - hashed);
        lock.lock();
        for (const QByteArray &digest : std::as_const(digests))
            m_pieceDigests.append(digest);
        ++m_hashed[hasher];
        // Only the feeder waits for this, and only once it has run out of free buffers, or to
        // collect the digests.
        m_hashedMore.notify_one();
    }
}

void DigestPipeline::waitUntilHashed() {
    std::unique_lock lock(m_mutex);
    handOff();
    m_hashedMore.wait(lock, [this] {
        return m_failure ||
               ((!m_piecesHashed || m_hashed[Pieces] == m_given) && m_hashed[Whole] == m_given);
    });
    throwFailure();
}

PieceDigests &DigestPipeline::pieceDigests() {
    // Once every byte is hashed, only the caller's thread touches them.
    waitUntilHashed();
    return m_pieceDigests;
}

QByteArray DigestPipeline::wholeDigest() {
    waitUntilHashed();
    return m_wholeHash.hexDigest();
}
