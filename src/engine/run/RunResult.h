#pragma once

#include "Failure.h"

#include <QStringList>
#include <QtGlobal>

#include <optional>

enum class RunOutcome { Done, Stopped, Failed };

// How a split, a join or a check ended: done, stopped, or failed with its failure, which names
// the file it concerns and the reason.
struct RunResult {
    RunOutcome outcome = RunOutcome::Done;
    std::optional<Failure> failure; // of a stopped or failed run

    // Ends the run with failure: stopped when that is its kind, else failed.
    void end(Failure failure) {
        outcome =
            failure.kind() == Failure::Kind::Stopped ? RunOutcome::Stopped : RunOutcome::Failed;
        this->failure = std::move(failure);
    }
};

struct JoinResult : RunResult {
    // The joined file took its name; a failure after that (the folder's flush) leaves it there.
    bool inPlace = false;
    QStringList rebuilt; // the pieces rebuilt from recovery files before the join
};

struct SplitResult : RunResult {
    qint64 filesDone = 0;    // complete with their pieces and restore script, in queue order
    qint64 stoppedFile = -1; // stopped or failed while this file was under way; -1: none was
    // Of those done, the files whose pieces all share the source's blocks, as the file system
    // maps them at the end: they take no room of their own.
    qint64 filesSharingBlocks = 0;
};
