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
// Nor do more writes than this share one (fewer where limitWrites() says so).
constexpr std::size_t kMostWrites = 64;

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
    , m_mostWrites(kMostWrites)
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
        if (buffer.size == 0 || (!fresh && kBufferBytes - buffer.size >= kLeastRoom &&
                                 buffer.writes.size() < m_mostWrites))
            return buffer.bytes.get() + buffer.size;
        handOff();
    }
    // The buffer m_given is free once every stage is past its last use.
    m_doneMore.wait(lock, [this] { return m_failure || m_given - done() < m_buffers.size(); });
    throwFailure();
    Buffer &buffer = m_buffers[m_given % m_buffers.size()];
    buffer.size = 0;
    buffer.pieceEnds.clear();
    buffer.writes.clear();
    m_filling = true;
    return buffer.bytes.get();
}

qint64 DigestPipeline::room() const {
    return kBufferBytes - m_buffers[m_given % m_buffers.size()].size;
}

void DigestPipeline::limitWrites(qint64 mostWaiting) {
    const auto perBuffer = std::size_t(std::max<qint64>(mostWaiting, 0)) / m_buffers.size();
    m_mostWrites = std::clamp<std::size_t>(perBuffer, 1, kMostWrites);
}

std::size_t DigestPipeline::done() const {
    std::size_t done = m_done[Whole];
    if (m_piecesHashed)
        done = std::min(done, m_done[Pieces]);
    if (m_writing)
        done = std::min(done, m_done[Writes]);
    return done;
}

void DigestPipeline::hash(qint64 bytes, bool endsPiece, Write write) {
    if (write && !m_writing)
        startWriting();
    const std::lock_guard lock(m_mutex);
    Buffer &buffer = m_buffers[m_given % m_buffers.size()];
    if (write)
        buffer.writes.push_back({buffer.size, bytes, std::move(write)});
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

void DigestPipeline::run(Stage hasher) {
    try {
        hash(hasher);
    } catch (...) { // memory ran out: the feeder hears of it at its next call
        const std::lock_guard lock(m_mutex);
        if (!m_failure)
            m_failure = Failure::current();
        m_doneMore.notify_all();
    }
}

void DigestPipeline::startWriting() {
    {
        const std::lock_guard lock(m_mutex);
        m_done[Writes] = m_given; // none of the buffers given before has a write
    }
    m_tasks.emplace_back([this] { write(); });
    m_writing = true;
}

const DigestPipeline::Buffer *DigestPipeline::nextFor(Stage stage,
                                                      std::unique_lock<std::mutex> &lock) {
    m_givenMore.wait(lock, [&] { return m_done[stage] < m_given || m_ending; });
    if (m_done[stage] == m_given)
        return nullptr; // ending, and everything done
    return &m_buffers[m_done[stage] % m_buffers.size()];
}

void DigestPipeline::write() {
    std::unique_lock lock(m_mutex);
    while (const Buffer *next = nextFor(Writes, lock)) {
        const Buffer &buffer = *next;
        // After a failure the rest is passed over, but every buffer is still done with, so that
        // the feeder waiting for the writes knows they no longer use what they were given.
        const bool failed = m_failure.has_value();
        lock.unlock();
        std::optional<Failure> failure;
        try {
            if (!failed) {
                for (const Buffer::Deferred &deferred : buffer.writes)
                    deferred.write(buffer.bytes.get() + deferred.from, deferred.size);
            }
        } catch (...) {
            failure = Failure::current();
        }
        lock.lock();
        if (failure && !m_failure)
            m_failure = std::move(failure);
        ++m_done[Writes];
        m_doneMore.notify_all();
    }
}

void DigestPipeline::hash(Stage hasher) {
    Sha256 &hash = hasher == Pieces ? m_pieceHash : m_wholeHash;
    qsizetype piecesHashed = 0;
    std::unique_lock lock(m_mutex);
    while (const Buffer *next = nextFor(hasher, lock)) {
        const Buffer &buffer = *next;
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
        ++m_done[hasher];
        // Only the feeder waits for this, and only once it has run out of free buffers, or to
        // collect the digests.
        m_doneMore.notify_one();
    }
}

void DigestPipeline::waitUntilHashed() {
    std::unique_lock lock(m_mutex);
    handOff();
    m_doneMore.wait(lock, [this] {
        return m_failure ||
               ((!m_piecesHashed || m_done[Pieces] == m_given) && m_done[Whole] == m_given);
    });
    throwFailure();
}

void DigestPipeline::waitUntilWritten() {
    std::unique_lock lock(m_mutex);
    handOff();
    m_doneMore.wait(lock, [this] { return !m_writing || m_done[Writes] == m_given; });
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
