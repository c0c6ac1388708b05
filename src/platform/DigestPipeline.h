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
// hashed where they are by both hashers, so that each byte is hashed twice but read once. The
// feeder may have the same bytes written from there, too, on a third thread, while it reads the
// next; no buffer is read into again before its bytes are hashed and written.
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
    // Writes bytes given to hash, on the pipeline's writing thread. What it throws ends the
    // pipeline as a hasher's failure does, and the writes after it are not made.
    using Write = std::function<void(const char *bytes, qint64 size)>;
    // The bytes read into what nextBuffer() gave, the next of the stream; endsPiece: the last
    // of the piece under way. A buffer goes on once it is full, or once the digests or the
    // writes are waited for. write, where given, writes the same bytes (even none) after every
    // write given before.
    void hash(qint64 bytes, bool endsPiece, Write write = {});
    // Waits until every write given is made or passed over after a failure.
    void waitUntilWritten();
    // Writes given and not yet made are no more than mostWaiting, but for one per buffer.
    void limitWrites(qint64 mostWaiting);
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
        struct Deferred {
            qint64 from = 0; // where in the buffer
            qint64 size = 0;
            Write write;
        };
        std::vector<Deferred> writes;
    };
    // What is done with every buffer given, each on a thread of its own.
    enum Stage { Pieces, Whole, Writes, kStages };

    static std::unique_ptr<char[], FreeAligned> allocateAligned();

    void run(Stage hasher);
    void hash(Stage hasher);
    void startWriting();
    void write();
    // The next buffer given that stage is to do, once there is one; none once the pipeline ends
    // and stage has done every one. lock is of m_mutex.
    const Buffer *nextFor(Stage stage, std::unique_lock<std::mutex> &lock);
    // Under m_mutex: of the buffers given, how many every stage under way is done with.
    std::size_t done() const;
    void stop();
    // Under m_mutex: the buffer being filled goes to the hashers.
    void handOff();
    // Under m_mutex.
    void throwFailure() const;
    void waitUntilHashed();

    std::vector<Buffer> m_buffers; // a ring
    std::mutex m_mutex;
    std::condition_variable m_givenMore; // the stages wait for buffers to go through, or the end
    std::condition_variable m_doneMore;  // the feeder waits for a free buffer, digests or writes
    std::size_t m_given = 0;             // buffers given to the stages, ever
    bool m_filling = false;              // buffer m_given is being filled
    std::size_t m_done[kStages] = {};    // of those, the ones each stage is done with
    bool m_writing = false;              // the writing thread runs: the feeder gave a write
    std::size_t m_mostWrites;            // of those a buffer holds
    bool m_ending = false;
    std::optional<Failure> m_failure; // the first of a stage's thread
    const PieceCheck m_check;
    const bool m_piecesHashed;
    Sha256 m_pieceHash;
    Sha256 m_wholeHash;
    PieceDigests m_pieceDigests;
    std::vector<Task> m_tasks; // last: they start once the rest is made
};
