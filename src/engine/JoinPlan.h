#pragma once

#include "ChecksumList.h"
#include "FileError.h"
#include "FileFacts.h"
#include "JoinRecipe.h"
#include "OutputLock.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class OutputFolder;

// A join the user stopped by answering No: nothing was written.
class JoinDeclined : public FileError {
public:
    using FileError::FileError;
};

// The questions a join may ask before it writes.
class JoinQuestions {
public:
    virtual ~JoinQuestions() = default;
    // A question that has Yes and No for answers; No unless the user says otherwise.
    virtual bool askYesNo(const QString &question) = 0;
};

// A join that was checked and may start: its recipe, the folder, held open from the check to
// the end of the join, and the pieces' lengths as they were checked.
struct JoinPlan {
    JoinRecipe recipe;
    std::unique_ptr<OutputFolder> folder;
    std::optional<OutputLock> lock; // of the file it makes, in that folder, for the whole join
    QList<qint64> pieceLengths;
    QList<FileIdentity> pieceIdentities; // the run joins these files, and no others
    qint64 totalBytes = 0;
    ChecksumList checksums; // the list beside the pieces, when there is one
    bool replacing = false; // the user agreed to replace the file that stands at its name
    // The joined file gets no more: those of the first piece, or of the file it replaces.
    unsigned permissions = 07777;

    JoinPlan();
    JoinPlan(JoinPlan &&) noexcept;
    JoinPlan &operator=(JoinPlan &&) noexcept;
    ~JoinPlan();
};

// Reads the recipe of the file the user chose and checks everything before anything is
// written: every piece is there and is a regular file of its own, not a link; the checksum
// list beside them, if any, is one a split could have written; the user agrees
// to join when no script said how many pieces there are; the pieces have the lengths a split
// gives them (else the user is asked whether to go on); the file to make is none of the pieces
// nor the script, as Windows compares names; there is room for it; and the user agrees to
// replace it where it exists.
// No other Tessary run may be writing the file or its pieces there meanwhile. Throws
// JoinDeclined when the user answers No, FileError when the join is refused, and Stopped once
// keepGoing says no while a long list is read.
JoinPlan planJoin(
    const QString &chosen, JoinQuestions &questions,
    const std::function<bool()> &keepGoing = [] { return true; });
