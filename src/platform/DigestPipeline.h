#pragma once

#include "Failure.h"
#include "PieceDigests.h"
#include "Sha256.h"
#include "Task.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// The SHA-256 of a stream of bytes cut into consecutive pieces: of every piece, and of the
// whole, each computed on a thread of its own while the thread that feeds the bytes goes on.
// The bytes pass through a few buffers of the pipeline's own, read into by the feeder and
// hashed where they are by both hashers, so that each byte is hashed twice but read once.
// Every SHA-256 of file data in Tessary is computed here, but that of pieces checked several at
// once (verify/PieceCheck).
class DigestPipeline {
public:
    static constexpr qint64 kBufferBytes = qint64(1) << 20;

    // Hears the digest of each piece as soon as it is hashed, on the hashing thread, with the
    // piece's place in the stream (from 0). What it throws ends the pipeline: the feeder meets
    // it at its next call, a few buffers later at most.
    using PieceCheck = std::function<void(qsizetype piece, const QByteArray &digest)>;

    enum class Digests { PiecesAndWhole, WholeOnly };

    // Throws a Failure when the system has no thread to spare. The pieces' digests go to kept:
    // in memory, unless it was given a file of its own.
    explicit DigestPipeline(PieceCheck check = {}, Digests digests = Digests::PiecesAndWhole,
                            PieceDigests kept = {});
    ~DigestPipeline(); // waits for the hashing of what was given
    DigestPipeline(const DigestPipeline &) = delete;
    DigestPipeline &operator=(const DigestPipeline &) = delete;

    // Room to read the next bytes into, room() bytes of it (at most kBufferBytes); waits while
    // every buffer is still being hashed. Throws what a hashing thread met, if it met anything.
    // fresh: at a buffer's start, on a block of its own.
    char *nextBuffer(bool fresh = false);
    qint64 room() const;
    // The bytes read into what nextBuffer() gave, the next of the stream; endsPiece: the last
    // of the piece under way. A buffer goes to the hashers once it is full, or once the digests
    // are asked for.
    void hash(qint64 bytes, bool endsPiece);
    // Waits until every byte given is hashed; throws what a hashing thread met.
    PieceDigests &pieceDigests(); // none with Digests::WholeOnly
    QByteArray wholeDigest();

private:
    struct FreeAligned {
        void operator()(char *bytes) const noexcept;
    };
    struct Buffer {
        // On a block of its own, so that whole blocks can be read into it or written from it past
        // the page cache (CacheBypass).
        std::unique_ptr<char[], FreeAligned> bytes = allocateAligned();
        qint64 size = 0;
        std::vector<qint64> pieceEnds; // where in it each piece that ends there ends
    };
    enum Hasher { Pieces, Whole, kHashers };

    static std::unique_ptr<char[], FreeAligned> allocateAligned();

    void run(Hasher hasher);
    void hash(Hasher hasher);
    void stop();
    // Under m_mutex: the buffer being filled goes to the hashers.
    void handOff();
    // Under m_mutex.
    void throwFailure() const;
    void waitUntilHashed();

    std::vector<Buffer> m_buffers; // a ring
    std::mutex m_mutex;
    std::condition_variable m_givenMore;  // the hashers wait for bytes to hash, or the end
    std::condition_variable m_hashedMore; // the feeder waits for a free buffer, or the digests
    std::size_t m_given = 0;              // buffers given to hash, ever
    bool m_filling = false;               // buffer m_given is being filled
    std::size_t m_hashed[kHashers] = {};  // of those, hashed by each hasher (all, by one not run)
    bool m_ending = false;
    std::optional<Failure> m_failure; // of a hashing thread
    const PieceCheck m_check;
    const bool m_piecesHashed;
    Sha256 m_pieceHash;
    Sha256 m_wholeHash;
    PieceDigests m_pieceDigests;
    std::vector<Task> m_tasks; // last: they start once the rest is made
};
