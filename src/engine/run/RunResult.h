#pragma once

#include <QString>
#include <QtGlobal>

enum class RunOutcome { Done, Stopped, Failed };

// How a split or a join ended. A failure names the file it concerns and the reason, in the
// system's words where the system gave them.
struct RunResult {
    RunOutcome outcome = RunOutcome::Done;
    QString failedPath; // may be empty when no file was concerned (memory ran out, say)
    QString reason;
};

struct JoinResult : RunResult {
    // The failure is a piece, or the joined file, that does not match the checksum list: the
    // reason then reads on from its name ("is damaged: ...").
    bool damaged = false;
    // The joined file took its name; a failure after that (the folder's flush) leaves it there.
    bool inPlace = false;
};

struct SplitResult : RunResult {
    qint64 filesDone = 0;    // complete with their pieces and restore script, in queue order
    qint64 stoppedFile = -1; // stopped or failed while this file was under way; -1: none was
};
