#include "jobs/SplitJob.h"

#include "split/SplitPlanner.h"

JobResult SplitJob::run(const Work &work) noexcept {
    try {
        const SplitPlan plan = planSplit(m_request, work);
        const SplitResult split = SplitRun(plan, work.progress, work.stop, m_options).run();
        JobResult result;
        result.outcome = split.outcome;
        result.allWell = split.outcome == RunOutcome::Done;
        result.message = RunMessages::split(plan, split);
        result.notice = EndNotices::split(plan, split);
        return result;
    } catch (...) {
        return failed(Failure::current());
    }
}

JobResult SplitJob::failed(const Failure &failure) const {
    return JobResult::ofFailure(failure, RunMessages::splitFailure(failure));
}
