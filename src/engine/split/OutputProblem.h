#pragma once

#include "Failure.h"
#include "FileFacts.h"

#include <QString>

// What may stand at the path of an output already, such that the split may not write it.
struct OutputProblem {
    enum class Kind {
        QueuedSource, // a file queued to be split; detail: its path, when spelled otherwise
        HardLinkOf,   // another name of a queued source; detail: that source's path
        SymbolicLink,
        NotRegular, // fileKind says what it is
        OtherNames, // a file with hard links elsewhere
        NotWritable,
        CaseTwin, // another file whose name Windows does not tell from it; detail: its path
    };
    Kind kind;
    QString detail;
    FileKind fileKind = FileKind::Regular;

    // The refusal, for the queued file source, to write its output of role at path.
    Failure refusal(const QString &source, const QString &role, const QString &path) const;
    // The failure to write a piece at path, found past those checked while the split runs.
    Failure latePiece(const QString &path) const;
};
