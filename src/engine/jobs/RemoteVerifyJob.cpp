#include "jobs/RemoteVerifyJob.h"

#include "messages/RemoteMessages.h"
#include "remote/RemoteVerify.h"

JobResult RemoteVerifyJob::run(const Work &work) noexcept {
    try {
        const RemoteSet set = readRemoteSet(m_chosen, work);
        const VerifyResult checked = runRemoteVerify(set, work.progress, work.stop);
        return JobResult::ofEnd(checked.outcome,
                                checked.outcome == RunOutcome::Done && checked.allMatch(),
                                RemoteMessages::verify(set, checked, m_listed), {});
    } catch (...) {
        return failed(Failure::current());
    }
}

JobResult RemoteVerifyJob::failed(const Failure &failure) const {
    return JobResult::ofFailure(failure, RunMessages::verifyFailure(failure));
}
