#include "jobs/JoinJob.h"

#include "join/RebuildingJoin.h"

JobResult JoinJob::run(const Work &work) noexcept {
    try {
        const JoinOutcome joined = joinRebuilding(m_chosen, work, m_copyMethod);
        JobResult result;
        result.outcome = joined.result.outcome;
        result.allWell = joined.result.outcome == RunOutcome::Done;
        result.message = RunMessages::join(joined.plan, joined.result);
        result.notice = EndNotices::join(joined.plan, joined.result);
        return result;
    } catch (...) {
        return failed(Failure::current());
    }
}

JobResult JoinJob::failed(const Failure &failure) const {
    return JobResult::ofFailure(failure, RunMessages::joinFailure(failure));
}
