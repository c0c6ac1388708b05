#include "SplitCommand.h"

#include "Failure.h"
#include "MainWindowText.h"
#include "RunMessageBox.h"
#include "WaitWindowSlot.h"
#include "messages/RemoteMessages.h"
#include "messages/RunMessages.h"
#include "remote/RemoteSplitPlanner.h"
#include "remote/RemoteSplitRun.h"
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

void SplitCommand::run(const RemoteSplitRequest &request) {
    try {
        // The plan holds rclone's daemon, which ends on the thread it was started on.
        RunMessage message;
        m_waitWindow.run(WaitFor::Split, [&](ProgressSink &progress, const StopRequest &stop) {
            const RemoteSplitPlan plan =
                planRemoteSplit(request, [&stop] { return !stop.requested(); });
            message = RemoteMessages::split(plan, RemoteSplitRun(plan, progress, stop).run());
        });
        showRunMessage(message);
    } catch (...) {
        const Failure failure = Failure::current();
        if (failure.kind() == Failure::Kind::Stopped) // while the remote was looked at
            showRunMessage({RunMessage::Tone::Information,
                            MainWindowText::tr("Split Stopped"),
                            MainWindowText::tr("The split was stopped. Nothing was sent."),
                            {}});
        else
            showRunMessage(RunMessages::splitFailure(failure));
    }
}
