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

    // The failure that writing there would be.
    Failure::Kind failureKind() const {
        switch (kind) {
        case Kind::QueuedSource:
        case Kind::HardLinkOf:
        case Kind::CaseTwin:
            return Failure::Kind::Exists;
        case Kind::NotWritable:
            return Failure::Kind::NotAllowed;
        case Kind::SymbolicLink:
        case Kind::NotRegular:
        case Kind::OtherNames:
            break;
        }
        return Failure::Kind::Unusable;
    }
};
