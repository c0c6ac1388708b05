#pragma once

#include "run/RunResult.h"

#include <QString>

struct JoinPlan;
struct RemoteSplitPlan;
struct RemoteSplitResult;
struct SplitPlan;
struct VerifyPlan;
struct VerifyResult;

// A run's end in one line, for a notification read in passing ("holiday.iso: 5 pieces written
// to USB STICK"), and the folder it was about, for the user to open.
struct EndNotice {
    QString text; // empty where the run's message says it best
    QString folder;
};

namespace EndNotices {

EndNotice split(const SplitPlan &plan, const SplitResult &result);
// The remote's folder is named, and none is offered to open.
EndNotice split(const RemoteSplitPlan &plan, const RemoteSplitResult &result);
EndNotice join(const JoinPlan &plan, const JoinResult &result);
EndNotice verify(const VerifyPlan &plan, const VerifyResult &result);

} // namespace EndNotices
