#include "jobs/JoinJob.h"

#include "join/RebuildingJoin.h"

JobResult JoinJob::run(const Work &work) noexcept {
    try {
        const JoinOutcome joined = joinRebuilding(m_chosen, work, m_copyMethod);
        return JobResult::ofEnd(joined.result.outcome, joined.result.outcome == RunOutcome::Done,
                                RunMessages::join(joined.plan, joined.result),
                                EndNotices::join(joined.plan, joined.result));
    } catch (...) {
        return failed(Failure::current());
    }
}

JobResult JoinJob::failed(const Failure &failure) const {
    return JobResult::ofFailure(failure, RunMessages::joinFailure(failure));
}
