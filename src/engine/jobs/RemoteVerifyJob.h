#pragma once

#include "RemotePath.h"
#include "jobs/VerifyJob.h"

// The check of the pieces of a chosen file on a remote against their checksum list, each piece
// streamed as it comes, writing nothing (readRemoteSet, runRemoteVerify); it fails and is told
// as a check of pieces here is.
class RemoteVerifyJob : public VerifyJob {
public:
    explicit RemoteVerifyJob(RemotePath chosen,
                             RunMessages::Listed listed = RunMessages::Listed::Everything)
        : VerifyJob(chosen.text(), listed)
        , m_remote(std::move(chosen)) {}

    JobResult run(const Work &work) noexcept override;

private:
    const RemotePath m_remote;
};
