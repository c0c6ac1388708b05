#pragma once

#include "Failure.h"
#include "join/JoinPlan.h"

#include <QString>

class Questions;
struct Work;

// Reads the recipe of the file the user chose and checks everything before anything is
// written: every piece is there and is a regular file of its own, not a link; the checksum
// list beside them, if any, is one a split could have written; the user agrees to join when no
// script said how many pieces there are; the pieces have the lengths a split gives them (else
// the user is asked whether to go on); the file to make is none of the pieces nor the script,
// as Windows compares names; there is room for it; and the user agrees to replace it where it
// exists. Where the list names recovery files that stand beside the pieces, a piece missing or
// of odd length is no refusal: the plan notes the first (JoinPlan::mendable), and the pieces
// must be looked at again (replanPieces) once a rebuild has mended them. No other Tessary run
// may be writing the file or its pieces there meanwhile. Works as work says: its files through
// its file system, its questions asked there. Throws a Failure: Declined when the user answers
// No, Stopped once work's stop is asked for while a long list is read, of another kind when the
// join is refused.
JoinPlan planJoin(const QString &chosen, const Work &work);

// Looks at the pieces of plan again, once a rebuild has put some in place: every one there,
// each of a length a split gives, and room for the joined file; throws a Failure otherwise.
void replanPieces(JoinPlan &plan);

// What stands at the name of the file plan joins, as it was found (existing): a file or a link
// there is replaced only where the user agrees, and then by a file with its permissions;
// anything else a join never replaces. Throws a Failure: Declined on a No, Unusable for what is
// no file.
void askToReplace(JoinPlan &plan, Questions &questions, const FileFacts &existing);

// Throws a Failure where plan's folder has no room for the joined file: too few bytes free for
// what it takes of its own (nothing, where it shares the pieces' blocks), or no file left to
// make.
void checkRoom(const JoinPlan &plan);
