#pragma once

#include "RangeCopier.h"

#include "Failure.h"
#include "FileFacts.h"
#include "PieceDigests.h"
#include "sizes/PieceLengths.h"
#include "split/PieceFiles.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <optional>

#include <functional>

class DigestPipeline;
class OutputFolder;
class OutputNames;
class ProgressSink;
class SourceFile;
class StopRequest;
class WorkerPool;
struct CutState;

// One source file to cut into the pieces name.1, name.2, ... of pieceLength bytes.
struct CutPlan {
    const SourceFile &source;
    const OutputFolder &folder;
    const OutputNames &names;
    qint64 pieceLength = 1;
    qint64 plannedPieces = 1;    // from the size the source reported, checked as safe to write
    bool flushEachPiece = false; // waits, piece by piece, until the disk holds it
    // Starts each complete piece's way to the disk on another thread meanwhile, so that the
    // flush at the run's end has less left to wait for.
    bool flushEarly = false;
    bool hash = false;           // computes the SHA-256 of every piece and of the whole file
    unsigned permissions = 0666; // pieces get no permission beyond these
    // With hash, where the pieces' digests are kept: a file of their own; none, in memory.
    PieceDigests::Spill digestSpill;
    // When the check of the outputs began (a file time): what it found at a piece's name is
    // written again only while unchanged since.
    qint64 checkBegan = 0;
    // For a piece number beyond plannedPieces, named name, and the earlier piece the check
    // found there, if any: the earlier piece to write again, if any; throws Failure when the
    // name may not be written.
    std::function<std::optional<FileIdentity>(const QByteArray &name, qint64 number,
                                              const std::optional<FileIdentity> &earlier)>
        checkLatePiece;

    // Where digests of the pieces go, empty.
    PieceDigests keptDigests() const {
        return digestSpill ? PieceDigests(digestSpill) : PieceDigests();
    }
};

struct CutResult {
    qint64 pieces = 0;              // complete: the source is cut whole
    bool stopped = false;           // a stop came first
    std::optional<Failure> failure; // what failed first, if anything did
    // The pieces this cut made (or cut to nothing and wrote again), and the earlier ones it was
    // given past them: its own to remove, while they are still these files.
    PieceFiles files;
    PieceLengths pieceLengths; // of the complete pieces
    QByteArray wholeDigest;    // with CutPlan::hash, as hex
    PieceDigests pieceDigests; // with CutPlan::hash, where CutPlan::digestSpill says
};

// Cuts a source into consecutive pieces on the threads of a pool, several pieces at a time,
// each copied by the kernel in chunks of at most kChunkBytes so that progress is told and a
// stop is seen between them. A complete piece starts on its way to the disk at once. With
// hashing, one thread reads the source once into memory, in the same chunks, and other threads
// write the pieces from there and hash the same bytes, each piece and the whole; only where
// the kernel's copy shares the source's blocks (piecesShareSourceBlocks) are the pieces copied
// as without hashing and read back as they are complete, in order. Either way the digests are
// of the bytes the pieces were written with, not of a second read of a source that may have
// changed meanwhile. A source whose length or times differ at the end from the start changed
// while it was cut, and the cut fails. Pieces are created in number order. The source is read
// until a read returns nothing, so a file longer than it reports is cut whole, and no empty
// piece is made past its end (only an empty source gets one, empty piece).
class PieceCutter {
public:
    static constexpr qint64 kChunkBytes = qint64(8) << 20;

    PieceCutter(WorkerPool &pool, CopyMethod firstMethod, ProgressSink &progress,
                const StopRequest &stop);

    // Throws nothing. On the first failure no further piece is started, the pieces under way
    // are finished, and the failure of the lowest-numbered failing piece is in the result. A
    // complete cut removes the pieces it started past the source's end; a stopped or failed
    // one leaves to its caller what it made (CutResult::files).
    // The earlier pieces there are the cut's to write again, and stay in the result where it
    // does not.
    CutResult cut(const CutPlan &plan, PieceFiles earlier);

private:
    // Copies the pieces on every thread of the pool, until none is left, a stop comes or one
    // fails.
    void copy(const CutPlan &plan, CutState &state);
    // The same, each piece then read back and hashed; the digests go to result.
    void copyThenReadBack(const CutPlan &plan, CutState &state, CutResult &result);
    // Reads the source on this thread, the pieces written from the bytes hashed on the way; the
    // digests go to result.
    void copyThroughDigests(const CutPlan &plan, CutState &state, CutResult &result);
    // One thread's part of the copy, through digests where given.
    void work(const CutPlan &plan, CutState &state, DigestPipeline *digests);
    static void endCopying(CutState &state);
    // A cut that neither failed nor stopped: pieces past the source's real end go, and the
    // source must have held still.
    void complete(const CutPlan &plan, CutState &state, CutResult &result) const;

    WorkerPool &m_pool;
    const CopyMethod m_firstMethod;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
};
