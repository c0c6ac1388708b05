#pragma once

#include "RemotePath.h"
#include "jobs/Job.h"

// The check of the pieces of a chosen file on a remote against their checksum list, each piece
// streamed as it comes, writing nothing (readRemoteSet, runRemoteVerify).
class RemoteVerifyJob : public Job {
public:
    explicit RemoteVerifyJob(RemotePath chosen,
                             RunMessages::Listed listed = RunMessages::Listed::Everything)
        : m_chosen(std::move(chosen))
        , m_listed(listed) {}

    Kind kind() const override { return Kind::Verify; }
    JobResult run(const Work &work) noexcept override;
    JobResult failed(const Failure &failure) const override;

private:
    const RemotePath m_chosen;
    const RunMessages::Listed m_listed;
};
