#include "jobs/RemoteJoinJob.h"

#include "messages/RemoteMessages.h"
#include "remote/RemoteJoin.h"

JobResult RemoteJoinJob::run(const Work &work) noexcept {
    try {
        const RemoteJoinPlan plan = planRemoteJoin(m_remote, m_folder, work);
        const JoinResult joined = runRemoteJoin(plan, work.progress, work.stop);
        return JobResult::ofEnd(joined.outcome, joined.outcome == RunOutcome::Done,
                                RemoteMessages::join(plan, joined),
                                EndNotices::join(plan.local, joined));
    } catch (...) {
        return failed(Failure::current());
    }
}
