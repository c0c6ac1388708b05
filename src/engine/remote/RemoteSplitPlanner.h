#pragma once

#include "remote/RemoteSplitPlan.h"
#include "remote/RemoteSplitRequest.h"

struct Work;

// Looks, before anything is sent, at everything a split to a remote would write, against one
// listing of the remote folder, and refuses what would destroy or lose data, as a split to a
// local folder does: a source that cannot be read whole, a name that cannot travel to Windows,
// two entries writing the same outputs, a name that stands there and is not provably ours (a
// piece only where our list or script there names it, or on a resume), a folder or a case twin
// (names compared without case where the backend compares so, and as Windows compares them
// where it does not) at an output's name, more than the remote says it has room for, or a
// folder that is not there unless it is to be made. Throws a Failure: RcloneMissing without
// rclone, RemoteNotConfigured for a remote the configuration lacks, what rclone met (credentials
// refused, a connection lost), Stopped once work's stop is asked for, and one of kind Refused
// whose parts are every refusal in queue order, the remote folder's last. The sources are opened
// through work's file system.
RemoteSplitPlan planRemoteSplit(const RemoteSplitRequest &request, const Work &work);
