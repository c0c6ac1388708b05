#pragma once

#include "messages/RunMessages.h"
#include "run/RunResult.h"

struct RemoteJoinPlan;
struct RemoteSet;
struct RemoteSplitPlan;
struct RemoteSplitResult;
struct VerifyResult;

// What the user is told when a split to a remote, or a join or a check from one, ends: the
// words of a local run's end where they hold, what stands on the remote, and whether rclone's
// chunker reads the pieces there as one file. A run that could not start is told as a local
// one is (RunMessages::splitFailure() and the others).
namespace RemoteMessages {

RunMessage split(const RemoteSplitPlan &plan, const RemoteSplitResult &result);
RunMessage join(const RemoteJoinPlan &plan, const JoinResult &result);
RunMessage verify(const RemoteSet &set, const VerifyResult &result,
                  RunMessages::Listed listed = RunMessages::Listed::Everything);

} // namespace RemoteMessages
