#include "jobs/RemoteVerifyJob.h"

#include "messages/RemoteMessages.h"
#include "remote/RemoteVerify.h"

JobResult RemoteVerifyJob::run(const Work &work) noexcept {
    try {
        const RemoteSet set = readRemoteSet(m_remote, work);
        const VerifyResult checked = runRemoteVerify(set, work.progress, work.stop);
        return JobResult::ofEnd(checked.outcome,
                                checked.outcome == RunOutcome::Done && checked.allMatch(),
                                RemoteMessages::verify(set, checked, listed()), {});
    } catch (...) {
        return failed(Failure::current());
    }
}
