#pragma once

#include "remote/RemoteSet.h"
#include "verify/Verify.h"

class ProgressSink;
class StopRequest;

// Hashes every piece the set's list names on the remote as it comes, each and all of them in
// order, and compares, writing nothing; a piece that is missing or no file is told as such, and
// the check goes on past a damaged one. Never throws; tells progress and looks at the stop
// request between chunks.
VerifyResult runRemoteVerify(const RemoteSet &set, ProgressSink &progress,
                             const StopRequest &stop) noexcept;

// The set as the words of a check read it: its names and its list.
VerifyPlan verifyPlanOf(const RemoteSet &set);
