#pragma once

#include "FileFacts.h"
#include "OutputChecker.h"
#include "OutputNames.h"
#include "SplitRequest.h"

#include <QList>

#include <memory>

class OutputFolder;

// One queued file as the check found it, and what its split writes.
struct PlannedFile {
    QueuedFile queued;
    OutputNames names;
    FileIdentity identity;    // of the source that was checked
    qint64 bytes = 0;         // its length as it reported it then
    unsigned permissions = 0; // its own: its outputs get no more
    qint64 pieces = 1;        // from that length
    qint64 stalePieces = 0;   // pieces of an earlier, longer split that follow the last one
};

// A split that was checked whole and may start: the output folder, held open from the check to
// the end of the run so that every output is written where it was checked, and the files in
// queue order (a file queued twice is split once).
struct SplitPlan {
    std::unique_ptr<OutputFolder> folder;
    std::unique_ptr<OutputChecker> checker; // for pieces past those checked
    QList<PlannedFile> files;               // in queue order
    qint64 pieceLength = 1;
    bool writeChecksums = true;

    SplitPlan();
    SplitPlan(SplitPlan &&) noexcept;
    SplitPlan &operator=(SplitPlan &&) noexcept;
    ~SplitPlan();

    qint64 totalBytes() const;
};

// Looks at everything a split would write before it writes anything, and refuses what would
// destroy or lose data: a source that cannot be read whole, a name that cannot travel to
// Windows, an output that is a queued source, a link or anything but a regular file, a name too
// long, two entries writing the same outputs, too little free space, or a piece larger than the
// output file system holds. An earlier checksum list of a file is checked like its script,
// since the split replaces or removes it. Throws SplitRefused listing every refusal in queue
// order, the output folder's own last.
SplitPlan planSplit(const SplitRequest &request);
