#pragma once

#include "BackgroundFlush.h"
#include "FileHandle.h"
#include "RangeCopier.h"

#include <QByteArray>

#include <optional>

class DigestPipeline;
class ProgressSink;
class StopRequest;
class UncachedWriter;
struct CutPlan;
struct CutState;

// One thread's part of a cut: it takes the next piece, in number order with the other threads,
// creates its file and copies it in chunks, until no piece is left, a stop comes or a piece
// fails. Given digests, it is the cut's only thread: it reads the source into the digests'
// buffers, writes each piece from there and hands the same bytes on to be hashed, so that each
// byte is read once and the digests are of the bytes written.
class PieceWorker {
public:
    PieceWorker(const CutPlan &plan, CutState &state, CopyMethod firstMethod,
                ProgressSink &progress, const StopRequest &stop, DigestPipeline *digests = nullptr);

    void run();

private:
    // The next piece, its file created; CutState::kNoPiece when there is none to start.
    qint64 startNextPiece();
    void finishPiece(qint64 piece);
    // Copies the piece in chunks; its bytes, or nothing when a stop came first.
    std::optional<qint64> copyPiece(qint64 piece);
    // Copies up to count bytes of the source from offset to the piece through the digests'
    // buffers, and through uncached where given; returns how many, fewer only where the source
    // ended. endsPiece: count reaches the piece's end.
    qint64 copyThroughDigests(qint64 offset, qint64 count, bool endsPiece,
                              UncachedWriter *uncached);
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
