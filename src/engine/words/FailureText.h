#pragma once

#include "FileFacts.h"

#include <QString>

class Failure;

// The words of every failure, in the user's language: the one place where a failure's code and
// values become the sentence the user reads.

// Its reason, as it follows the path it concerns: "this piece is missing".
QString failureReason(const Failure &failure);
// "path: reason", or the reason alone where it concerns no path; shown printably.
QString failureLine(const Failure &failure);

// "a folder", "a FIFO (named pipe)", ... for messages; empty for a missing path.
QString fileKindText(FileKind kind);
