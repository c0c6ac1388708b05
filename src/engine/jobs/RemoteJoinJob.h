#pragma once

#include "RemotePath.h"
#include "jobs/Job.h"

// The join of the pieces of a chosen file on a remote (its list, a restore script or its first
// piece) into a folder here, each piece streamed and checked as it comes (planRemoteJoin,
// runRemoteJoin).
class RemoteJoinJob : public Job {
public:
    // folder: where the joined file goes; the current folder where empty.
    RemoteJoinJob(RemotePath chosen, QString folder)
        : m_chosen(std::move(chosen))
        , m_folder(std::move(folder)) {}

    Kind kind() const override { return Kind::Join; }
    JobResult run(const Work &work) noexcept override;
    JobResult failed(const Failure &failure) const override;

private:
    const RemotePath m_chosen;
    const QString m_folder;
};
