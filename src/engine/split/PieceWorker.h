#pragma once

#include "BackgroundFlush.h"
#include "FileHandle.h"
#include "RangeCopier.h"

#include <QByteArray>

#include <memory>
#include <optional>

class DigestPipeline;
class ProgressSink;
class StopRequest;
struct CutPlan;
struct CutState;

// One thread's part of a cut: it takes the next piece, in number order with the other threads,
// creates its file and copies it in chunks, until no piece is left, a stop comes or a piece
// fails. Given digests, it is the cut's only thread: it reads the source into the digests'
// buffers and hands the bytes on to be hashed and written from there, on the digests' threads,
// so that each byte is read once and the digests are of the bytes written.
class PieceWorker {
public:
    PieceWorker(const CutPlan &plan, CutState &state, CopyMethod firstMethod,
                ProgressSink &progress, const StopRequest &stop, DigestPipeline *digests = nullptr);

    void run();

private:
    struct DeferredPiece;

    // The next piece, its file created; CutState::kNoPiece when there is none to start.
    qint64 startNextPiece();
    void finishPiece(qint64 piece);
    // Copies the piece in chunks; its bytes, or nothing when a stop came first.
    std::optional<qint64> copyPiece(qint64 piece);
    // Starts the complete piece in file, of bytes, on its way to the disk, and closes it.
    void sendOnItsWay(FileHandle &file, qint64 bytes);
    // Reads up to count bytes of the piece, from inPiece on, into the digests' buffers, to be
    // written from there to deferred; returns how many, fewer only where the source ended.
    // endsPiece: count reaches the piece's end.
    qint64 copyThroughDigests(qint64 piece, qint64 inPiece, qint64 count, bool endsPiece,
                              const std::shared_ptr<DeferredPiece> &deferred);
    // On the digests' writing thread: writes bytes of the piece, and sends it on once total,
    // where given, says they are its last. Tells the piece's failure.
    void writeDeferred(qint64 piece, DeferredPiece &deferred, const char *bytes, qint64 size,
                       std::optional<qint64> total);
    bool sourceGoesOnAfter(qint64 offset) const;

    const CutPlan &m_plan;
    CutState &m_state;
    RangeCopier m_copier;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    DigestPipeline *const m_digests;
    QByteArray m_name;
    FileHandle m_file;
    std::optional<BackgroundFlush> m_earlyFlush; // with CutPlan::flushEarly
};
