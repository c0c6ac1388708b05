#pragma once

#include "FileFacts.h"
#include "OutputLock.h"
#include "names/OutputNames.h"
#include "recovery/RecoveryLayout.h"
#include "split/OutputChecker.h"
#include "split/PieceFiles.h"
#include "split/SplitRequest.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <memory>
#include <optional>
#include <vector>

class OutputFolder;

// One queued file as the check found it, and what its split writes.
struct PlannedFile {
    QueuedFile queued;
    OutputNames names;
    FileFacts source;         // as it was checked: the run splits this file, unchanged
    qint64 bytes = 0;         // its length as it reported it then
    unsigned permissions = 0; // its own: its outputs get no more
    qint64 pieceLength = 1;   // bytes in every piece but the last
    qint64 pieces = 1;        // from that length
    qint64 stalePieces = 0;   // pieces of an earlier, longer split that follow the last one
    std::optional<RecoveryLayout> recovery; // of its recovery files, when they are written
    // Its pieces share the source's blocks as the kernel copies them, as a trial found: all but
    // the last take no room of their own.
    bool sharesSourceBlocks = false;

    // What its run reads: its bytes, once more where par2 reads them for recovery files.
    qint64 work() const { return recovery ? 2 * bytes : bytes; }
    // What stood at its outputs when they were checked and is the run's to replace or remove:
    // an earlier split's pieces, and by name on disk its scripts, list and recovery files
    // where they are ours. The run removes them only while they are still those files, and
    // takes the pieces from the plan as it writes them again.
    PieceFiles earlierPieces;
    QHash<QByteArray, FileIdentity> earlierBeside;
    // Pieces of an earlier split past a gap after the last one, where its script or list names
    // them: they stay, but where the source turns out longer than it said, as a file of /proc
    // does, they are its to write again.
    PieceFiles earlierPastGap;
};

// A split that was checked whole and may start: the output folder, held open from the check to
// the end of the run so that every output is written where it was checked, and the files in
// queue order (a file queued twice is split once).
struct SplitPlan {
    std::unique_ptr<OutputFolder> folder;
    std::vector<OutputLock> locks;          // of every file's outputs there, for the whole run
    std::unique_ptr<OutputChecker> checker; // for pieces past those checked
    QList<PlannedFile> files;               // in queue order
    // What each file's split writes beside its pieces, in the order it writes them.
    QList<OutputNames::Kind> besidePieces;
    bool flushesWhole = true;  // one syncfs of the folder's file system reaches its storage
    qint64 alignedToBlock = 0; // the block the piece length was rounded down to; 0: none
    // A file time taken as the check began, before its every look: what the check found is
    // replaced only while unchanged since (a change during the check refuses it too).
    qint64 checkBegan = 0;

    bool writes(OutputNames::Kind kind) const { return besidePieces.contains(kind); }

    SplitPlan();
    SplitPlan(SplitPlan &&) noexcept;
    SplitPlan &operator=(SplitPlan &&) noexcept;
    ~SplitPlan();

    qint64 totalBytes() const;
    qint64 totalWork() const;
};
