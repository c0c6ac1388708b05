#pragma once

#include "RangeCopier.h"
#include "join/JoinPlan.h"
#include "join/JoinPlanner.h"
#include "run/RunResult.h"

#include <functional>

class ProgressSink;
class StopRequest;

// How a front end runs long work: with its wait window up, or its bar on the terminal.
// Returns once the work has; throws what the work throws.
using LongWork = std::function<void(ProgressSink &progress, const StopRequest &stop)>;
using LongWorkRunner = std::function<void(const LongWork &work)>;

struct JoinOutcome {
    JoinPlan plan;
    JoinResult result;
};

// Plans and runs the join of chosen as planJoin and JoinRun do. Where a piece is missing or
// damaged and the checksum list names recovery files that stand beside the pieces, asks
// whether to rebuild from them (a question whose Yes destroys nothing), and on a yes checks
// every piece, rebuilds what is damaged or missing (see PieceRebuild), and joins once more,
// the pieces rebuilt named in the result. A question asked twice is answered as the first
// time. Throws what planJoin throws, the piece's failure where the user declines the rebuild,
// and the rebuild's failure where it fails.
JoinOutcome joinRebuilding(const QString &chosen, JoinQuestions &questions,
                           const LongWorkRunner &runLong, const std::function<bool()> &keepGoing,
                           CopyMethod copyMethod = CopyMethod::Kernel);
