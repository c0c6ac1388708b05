#include "jobs/Job.h"

JobResult JobResult::ofEnd(RunOutcome outcome, bool allWell, RunMessage message, EndNotice notice) {
    JobResult result;
    result.outcome = outcome;
    result.allWell = allWell;
    result.message = std::move(message);
    result.notice = std::move(notice);
    return result;
}

JobResult JobResult::ofFailure(const Failure &failure, RunMessage message) {
    JobResult result;
    result.outcome =
        failure.kind() == Failure::Kind::Stopped ? RunOutcome::Stopped : RunOutcome::Failed;
    result.declined = failure.kind() == Failure::Kind::Declined;
    result.allWell = false;
    result.message = std::move(message);
    return result;
}
