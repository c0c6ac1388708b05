#include "jobs/SplitJob.h"

#include "split/SplitPlanner.h"

JobResult SplitJob::run(const Work &work) noexcept {
    try {
        SplitPlan plan = planSplit(m_request, work);
        const SplitResult split = SplitRun(plan, work.progress, work.stop, m_options).run();
        return JobResult::ofEnd(split.outcome, split.outcome == RunOutcome::Done,
                                RunMessages::split(plan, split), EndNotices::split(plan, split));
    } catch (...) {
        return failed(Failure::current());
    }
}

JobResult SplitJob::failed(const Failure &failure) const {
    return JobResult::ofFailure(failure, RunMessages::splitFailure(failure));
}
