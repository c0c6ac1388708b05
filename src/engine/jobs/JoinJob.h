#pragma once

#include "RangeCopier.h"
#include "jobs/Job.h"

// The join of the pieces of a chosen file (a restore script, a checksum list or a first piece),
// rebuilding pieces first where recovery files can (joinRebuilding).
class JoinJob : public Job {
public:
    explicit JoinJob(QString chosen, CopyMethod copyMethod = CopyMethod::Kernel)
        : m_chosen(std::move(chosen))
        , m_copyMethod(copyMethod) {}

    Kind kind() const override { return Kind::Join; }
    JobResult run(const Work &work) noexcept override;
    JobResult failed(const Failure &failure) const override;

private:
    const QString m_chosen;
    const CopyMethod m_copyMethod;
};
