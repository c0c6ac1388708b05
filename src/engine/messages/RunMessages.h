#pragma once

#include "Failure.h"
#include "run/RunResult.h"

#include <QList>
#include <QString>

struct JoinPlan;
struct SplitPlan;
struct VerifyPlan;
struct VerifyResult;

// What the user is told when a run ends, the same words in a window's box and on a terminal.
struct RunMessage {
    enum class Tone { Plain, Information, Warning, Error };
    Tone tone = Tone::Plain;
    QString title; // empty: the program's own
    QString text;
    QString details; // the whole of a list the text shortens; empty when it shortens none
};

namespace RunMessages {

RunMessage split(const SplitPlan &plan, const SplitResult &result);
// A split refused, with every refusal, or one that failed before it had a file under way
// (memory ran out, no thread to spare).
RunMessage splitFailure(const Failure &failure);

RunMessage join(const JoinPlan &plan, const JoinResult &result);
// A join refused, declined (the user answered No), or failed: a damaged piece named.
RunMessage joinFailure(const Failure &failure);

// What a check lists beside its summary: every piece (matching, damaged or missing), the
// joined file and the recovery files; or only those that are not as the list says.
enum class Listed { Everything, WhatIsWrong };

RunMessage verify(const VerifyPlan &plan, const VerifyResult &result,
                  Listed listed = Listed::Everything);
// A check that could not start.
RunMessage verifyFailure(const Failure &failure);

// Lines past this many stand in the details rather than in the text itself.
inline constexpr qsizetype kLinesInText = 10;

} // namespace RunMessages
