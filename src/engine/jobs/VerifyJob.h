#pragma once

#include "jobs/Job.h"

// The check of the pieces of a chosen file against their checksum list, writing nothing.
class VerifyJob : public Job {
public:
    explicit VerifyJob(QString chosen, RunMessages::Listed listed = RunMessages::Listed::Everything)
        : m_chosen(std::move(chosen))
        , m_listed(listed) {}

    Kind kind() const override { return Kind::Verify; }
    JobResult run(const Work &work) noexcept override;
    JobResult failed(const Failure &failure) const override;

protected:
    RunMessages::Listed listed() const { return m_listed; }

private:
    const QString m_chosen;
    const RunMessages::Listed m_listed;
};
