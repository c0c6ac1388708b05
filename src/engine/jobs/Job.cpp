#include "jobs/Job.h"

JobResult JobResult::ofFailure(const Failure &failure, RunMessage message) {
    JobResult result;
    result.outcome =
        failure.kind() == Failure::Kind::Stopped ? RunOutcome::Stopped : RunOutcome::Failed;
    result.declined = failure.kind() == Failure::Kind::Declined;
    result.allWell = false;
    result.message = std::move(message);
    return result;
}
