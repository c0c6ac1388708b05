#pragma once

#include "RangeCopier.h"
#include "run/RunResult.h"

class DigestPipeline;
class ProgressSink;
class SourceFile;
class TemporaryFile;
class StopRequest;
struct JoinPlan;

// Rebuilds a split file from its pieces as a plan says. The joined file is written beside its
// final name under a name of its own, flushed to disk and then renamed into place, so that a
// failure or a stop never leaves a half-written file and never destroys the one it replaces.
// With a checksum list, the bytes written are hashed as they are in the file: each piece is
// compared as soon as it is, and the whole file before it is put in place; a mismatch ends the
// join at once, a failure marked damaged, and nothing is written. Where the plan shares blocks,
// the joined file is made of the pieces' own blocks, and then read once to be checked.
class JoinRun {
public:
    JoinRun(const JoinPlan &plan, ProgressSink &progress, const StopRequest &stop,
            CopyMethod copyMethod = CopyMethod::Kernel);

    // Never throws: a failure of any kind ends the join with a result that names it, and
    // nothing written is left.
    JoinResult run() noexcept;

private:
    // Throws, marked damaged, where a digest does not match the checksum list.
    void copyPieces(TemporaryFile &joined) const;
    // Puts every piece into joined in turn, by sharing its blocks or by copying it through
    // digests (where the join is checked); false where sharing, once the volume will not share
    // a piece's.
    bool putPieces(TemporaryFile &joined, bool sharing, DigestPipeline *digests) const;
    // Copies the length bytes of one piece to the end of joined, through digests where the
    // join is checked.
    void copyPiece(const SourceFile &source, qint64 length, TemporaryFile &joined,
                   DigestPipeline *digests, RangeCopier &copier) const;
    // Makes the length bytes of one piece those of joined from at, sharing their blocks; false
    // where the volume will not share this piece's.
    bool sharePiece(const SourceFile &source, qint64 length, const TemporaryFile &joined, qint64 at,
                    bool checked) const;
    // Reads joined once, its pieces in turn, through digests.
    void hashJoined(const TemporaryFile &joined, DigestPipeline &digests) const;

    const JoinPlan &m_plan;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    const CopyMethod m_copyMethod;
};

// The end of a join once every byte is in joined: flushed to disk, put in place of the file plan
// joins (replacing what stands there only where the user agreed to) and its folder synced,
// progress told; result notes once it is in place. Throws Failure.
void putJoinedInPlace(TemporaryFile &joined, const JoinPlan &plan, ProgressSink &progress,
                      JoinResult &result);
