#pragma once

#include "jobs/SplitJob.h"
#include "remote/RemoteSplitRequest.h"

// A split onto a remote of rclone's: checked against one listing there (planRemoteSplit), then
// sent (RemoteSplitRun), on the one thread, which rclone's daemon in the plan must end on; it
// fails as a split here does.
class RemoteSplitJob : public SplitJob {
public:
    explicit RemoteSplitJob(RemoteSplitRequest request)
        : SplitJob(request.split)
        , m_request(std::move(request)) {}

    JobResult run(const Work &work) noexcept override;

private:
    const RemoteSplitRequest m_request;
};
