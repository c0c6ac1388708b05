#include "jobs/VerifyJob.h"

#include "verify/Verify.h"

JobResult VerifyJob::run(const Work &work) noexcept {
    try {
        const VerifyPlan plan = planVerify(m_chosen, work);
        const VerifyResult checked = runVerify(plan, work.progress, work.stop);
        JobResult result;
        result.outcome = checked.outcome;
        result.allWell = checked.outcome == RunOutcome::Done && checked.allMatch();
        result.message = RunMessages::verify(plan, checked, m_listed);
        result.notice = EndNotices::verify(plan, checked);
        return result;
    } catch (...) {
        return failed(Failure::current());
    }
}

JobResult VerifyJob::failed(const Failure &failure) const {
    return JobResult::ofFailure(failure, RunMessages::verifyFailure(failure));
}
