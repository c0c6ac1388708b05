#pragma once

#include "Failure.h"
#include "FileFacts.h"
#include "OutputLock.h"
#include "checksums/ChecksumList.h"
#include "sets/JoinRecipe.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class OutputFolder;

// A join that was checked and may start: its recipe, the folder, held open from the check to
// the end of the join, and the pieces' lengths as they were checked.
struct JoinPlan {
    JoinRecipe recipe;
    std::unique_ptr<OutputFolder> folder;
    std::optional<OutputLock> lock; // of the file it makes, in that folder, for the whole join
    QList<qint64> pieceLengths;
    QList<FileFacts> pieces; // as they were checked: the run joins these files, unchanged
    qint64 totalBytes = 0;
    ChecksumList checksums; // the list beside the pieces, when there is one
    // The joined file is made of the pieces' own blocks, then read once to be checked
    // (joinSharesBlocks()); else the pieces are copied into it.
    bool sharesBlocks = false;
    bool replacing = false; // the user agreed to replace the file that stands at its name
    // The joined file gets no more: those of the first piece, or of the file it replaces.
    unsigned permissions = 07777;
    // The first piece found missing or of odd length, where recovery files beside the pieces
    // may mend it: the join runs only once they have.
    std::optional<Failure> mendable;

    JoinPlan();
    JoinPlan(JoinPlan &&) noexcept;
    JoinPlan &operator=(JoinPlan &&) noexcept;
    ~JoinPlan();
};
