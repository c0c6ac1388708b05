#pragma once

#include "RemotePath.h"
#include "join/JoinPlan.h"
#include "remote/RemoteSet.h"
#include "run/RunResult.h"

#include <QString>

class ProgressSink;
class StopRequest;
struct Work;

// A join from a remote that was checked and may start: the set there, and the join here, whose
// folder is held open and locked from the check to the end, as JoinPlan has it.
struct RemoteJoinPlan {
    RemoteSet set;
    JoinPlan local;
};

// Reads the set of chosen on a remote (readRemoteSet()) and checks everything before anything
// is written: every piece its list names stands there, a file, of the length a split gives it
// (else it is named, damaged or missing); the folder here (a path; the current folder where
// empty) has room for the joined file, and no other Tessary run writes it; and the user agrees
// to replace what stands at its name, asked through work, whose file system the folder here is
// opened through. Throws a Failure as readRemoteSet() and planJoin() do.
RemoteJoinPlan planRemoteJoin(const RemotePath &chosen, const QString &folder, const Work &work);

// Streams every piece from the remote into the joined file, checking each against the list as
// it comes, under a name of its own beside the one it takes once it is whole and flushed to
// disk: the first damaged piece ends the join, named, and nothing is written. Never throws.
JoinResult runRemoteJoin(const RemoteJoinPlan &plan, ProgressSink &progress,
                         const StopRequest &stop) noexcept;
