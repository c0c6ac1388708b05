#pragma once

#include "jobs/Job.h"
#include "split/SplitRequest.h"
#include "split/SplitRun.h"

// A split as the user asked for it: checked whole (planSplit), then cut (SplitRun).
class SplitJob : public Job {
public:
    explicit SplitJob(SplitRequest request, RunOptions options = {})
        : m_request(std::move(request))
        , m_options(options) {}

    Kind kind() const override { return Kind::Split; }
    JobResult run(const Work &work) noexcept override;
    JobResult failed(const Failure &failure) const override;

private:
    const SplitRequest m_request;
    const RunOptions m_options;
};
