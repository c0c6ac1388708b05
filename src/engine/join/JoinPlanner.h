#pragma once

#include "Failure.h"
#include "join/JoinPlan.h"

#include <QString>

#include <functional>

// The questions a join may ask before it writes.
class JoinQuestions {
public:
    virtual ~JoinQuestions() = default;
    // A question that has Yes and No for answers; No unless the user says otherwise.
    virtual bool askYesNo(const QString &question) = 0;
    // One whose Yes destroys nothing and only adds a step: a window makes Yes its default.
    virtual bool askYesNoLikelyYes(const QString &question) { return askYesNo(question); }
};

// Reads the recipe of the file the user chose and checks everything before anything is
// written: every piece is there and is a regular file of its own, not a link; the checksum
// list beside them, if any, is one a split could have written; the user agrees
// to join when no script said how many pieces there are; the pieces have the lengths a split
// gives them (else the user is asked whether to go on); the file to make is none of the pieces
// nor the script, as Windows compares names; there is room for it; and the user agrees to
// replace it where it exists.
// No other Tessary run may be writing the file or its pieces there meanwhile. Throws
// a Failure: Declined when the user answers No, Stopped once keepGoing says no while a long list
// is read, of another kind when the join is refused.
JoinPlan planJoin(
    const QString &chosen, JoinQuestions &questions,
    const std::function<bool()> &keepGoing = [] { return true; });

// What stands at the name of the file plan joins, as it was found (existing): a file or a link
// there is replaced only where the user agrees, and then by a file with its permissions;
// anything else a join never replaces. Throws a Failure: Declined on a No, Unusable for what is
// no file.
void askToReplace(JoinPlan &plan, JoinQuestions &questions, const FileFacts &existing);
