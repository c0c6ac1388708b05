#include "jobs/VerifyJob.h"

#include "verify/Verify.h"

JobResult VerifyJob::run(const Work &work) noexcept {
    try {
        const VerifyPlan plan = planVerify(m_chosen, work);
        const VerifyResult checked = runVerify(plan, work.progress, work.stop);
        return JobResult::ofEnd(
            checked.outcome, checked.outcome == RunOutcome::Done && checked.allMatch(),
            RunMessages::verify(plan, checked, m_listed), EndNotices::verify(plan, checked));
    } catch (...) {
        return failed(Failure::current());
    }
}

JobResult VerifyJob::failed(const Failure &failure) const {
    return JobResult::ofFailure(failure, RunMessages::verifyFailure(failure));
}
