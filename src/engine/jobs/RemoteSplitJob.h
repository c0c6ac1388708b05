#pragma once

#include "jobs/Job.h"
#include "remote/RemoteSplitRequest.h"

// A split onto a remote of rclone's: checked against one listing there (planRemoteSplit), then
// sent (RemoteSplitRun), on the one thread, which rclone's daemon in the plan must end on.
class RemoteSplitJob : public Job {
public:
    explicit RemoteSplitJob(RemoteSplitRequest request)
        : m_request(std::move(request)) {}

    Kind kind() const override { return Kind::Split; }
    JobResult run(const Work &work) noexcept override;
    JobResult failed(const Failure &failure) const override;

private:
    const RemoteSplitRequest m_request;
};
