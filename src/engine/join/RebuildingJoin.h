#pragma once

#include "RangeCopier.h"
#include "join/JoinPlan.h"
#include "run/RunResult.h"

struct Work;

struct JoinOutcome {
    JoinPlan plan;
    JoinResult result;
};

// Plans and runs the join of chosen as planJoin and JoinRun do, as work says. Where a piece is
// missing or damaged and the checksum list names recovery files that stand beside the pieces,
// asks whether to rebuild from them (a question whose Yes destroys nothing), and on a yes checks
// the pieces not yet checked, rebuilds what is damaged or missing (see PieceRebuild) and joins,
// the pieces rebuilt named in the result. The list is read once, and each piece read at most
// twice (par2's own reads aside): once where it is checked or joined first, once to join.
// Throws what planJoin throws, the piece's failure where the user declines the rebuild, and the
// rebuild's failure where it fails.
JoinOutcome joinRebuilding(const QString &chosen, const Work &work,
                           CopyMethod copyMethod = CopyMethod::Kernel);
