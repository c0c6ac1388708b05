#include "jobs/RemoteSplitJob.h"

#include "messages/RemoteMessages.h"
#include "remote/RemoteSplitPlanner.h"
#include "remote/RemoteSplitRun.h"

JobResult RemoteSplitJob::run(const Work &work) noexcept {
    try {
        const RemoteSplitPlan plan = planRemoteSplit(m_request, work);
        const RemoteSplitResult split = RemoteSplitRun(plan, work).run();
        return JobResult::ofEnd(split.outcome, split.outcome == RunOutcome::Done,
                                RemoteMessages::split(plan, split), EndNotices::split(plan, split));
    } catch (...) {
        return failed(Failure::current());
    }
}
