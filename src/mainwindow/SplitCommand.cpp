#include "SplitCommand.h"

#include "Failure.h"
#include "RunMessageBox.h"
#include "WaitWindowSlot.h"
#include "messages/RunMessages.h"
#include "run/RunProgress.h"
#include "split/SplitPlanner.h"
#include "split/SplitRun.h"

SplitCommand::SplitCommand(WaitWindowSlot &waitWindow)
    : m_waitWindow(waitWindow) {}

void SplitCommand::run(const SplitRequest &request) {
    try {
        const SplitPlan plan = planSplit(request);
        SplitResult result;
        m_waitWindow.run(WaitFor::Split, [&](ProgressSink &progress, const StopRequest &stop) {
            result = SplitRun(plan, progress, stop).run();
        });
        showRunMessage(RunMessages::split(plan, result));
    } catch (...) {
        showRunMessage(RunMessages::splitFailure(Failure::current()));
    }
}
