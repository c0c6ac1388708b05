#pragma once

#include "Failure.h"
#include "Sha256.h"
#include "verify/Verify.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class OutputFolder;
class OutputNames;
class ProgressSink;
class StopRequest;
struct ChecksumList;

// What stands at name text in folder, when it is no file to read: missing, or damaged with what
// it is.
std::optional<VerifyResult::Entry> notAFile(const OutputFolder &folder, const QString &text);

// Hashes the pieces from the first given to the last the list names, each on one of a pool of
// workers that take runs of consecutive pieces (small pieces cost their opening more than their
// bytes, and many of them share a chunk), and all of them in order as one stream on a thread of
// its own, fed the chunks the workers read: each byte is read once. A worker ahead of the stream
// waits once its few chunks wait to be hashed, so memory stays small however long the pieces. A
// piece that is missing or no file is told so.
class PieceCheck {
public:
    PieceCheck(const OutputFolder &folder, const OutputNames &names, const ChecksumList &list,
               ProgressSink &progress, const StopRequest &stop, qint64 first = 1);
    ~PieceCheck();
    PieceCheck(const PieceCheck &) = delete;
    PieceCheck &operator=(const PieceCheck &) = delete;

    // Each piece from the first on, appended to pieces in order; whether every one is a file
    // there. Throws the Failure of the lowest-numbered piece that met one (of kind Stopped once
    // the stop is asked for), as a check of one piece after another would.
    bool run(QList<VerifyResult::Entry> &pieces);

    // Of all the pieces run() hashed, as one stream.
    QByteArray wholeDigest();

private:
    struct Chunk;
    struct Worker;

    void check(Worker &worker);
    void checkPiece(Worker &worker, qint64 piece);
    // The chunk being filled goes to the stream, and the worker fills the next once it is free.
    void handOver(Worker &worker, bool endsRun);
    // Whether the piece need not be checked: a lower one failed.
    bool pastFailure(qint64 piece);
    void failed(qint64 piece, Failure failure);
    void hashStream();

    const OutputFolder &m_folder;
    const OutputNames &m_names;
    const ChecksumList &m_list;
    const qint64 m_first;
    const qint64 m_last;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    std::vector<std::optional<VerifyResult::Entry>> m_entries; // each written by its worker
    const qint64 m_runs; // of consecutive pieces, each taken by one worker
    std::atomic<qint64> m_nextRun{0};

    std::mutex m_mutex;
    std::condition_variable m_queued; // the stream waits for its next chunk
    std::condition_variable m_freed;  // the workers wait for a chunk of theirs to be hashed
    QHash<qint64, std::deque<Chunk *>> m_waiting; // chunks by run, in order
    qint64 m_streamAt = 0;                        // the run the stream hashes
    std::optional<qint64> m_failedPiece;          // the lowest that met a failure
    std::optional<Failure> m_failure;             // its failure
    Sha256 m_whole;
    std::mutex m_progressMutex; // a sink hears one thread at a time
};
