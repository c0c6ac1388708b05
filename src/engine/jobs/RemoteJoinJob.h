#pragma once

#include "RemotePath.h"
#include "jobs/JoinJob.h"

// The join of the pieces of a chosen file on a remote (its list, a restore script or its first
// piece) into a folder here, each piece streamed and checked as it comes (planRemoteJoin,
// runRemoteJoin); it fails as a join here does.
class RemoteJoinJob : public JoinJob {
public:
    // folder: where the joined file goes; the current folder where empty.
    RemoteJoinJob(RemotePath chosen, QString folder)
        : JoinJob(chosen.text())
        , m_remote(std::move(chosen))
        , m_folder(std::move(folder)) {}

    JobResult run(const Work &work) noexcept override;

private:
    const RemotePath m_remote;
    const QString m_folder;
};
