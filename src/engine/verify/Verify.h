#pragma once

#include "FileFacts.h"
#include "checksums/ChecksumList.h"
#include "checksums/PieceStatus.h"
#include "names/OutputNames.h"
#include "recovery/RecoveryCheck.h"
#include "run/FractionProgress.h"
#include "run/RunResult.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class OutputFolder;
class ProgressSink;
class StopRequest;
struct Work;

// Pieces checked against their checksum list without joining them: nothing is written.
struct VerifyPlan {
    std::unique_ptr<OutputFolder> folder;
    OutputNames names{QString()};
    ChecksumList list;
    // What is wrong with the restore script for macOS and Linux beside the pieces, if anything:
    // the pieces may match while the script a recipient runs would not restore them.
    std::optional<Failure> posixScriptFault;

    VerifyPlan();
    VerifyPlan(VerifyPlan &&) noexcept;
    VerifyPlan &operator=(VerifyPlan &&) noexcept;
    ~VerifyPlan();
};

// The list of the file chosen: the checksum list itself, or the one beside a restore script
// or a first piece, found by their names whatever their case. Throws Failure when there is
// none, or it proves nothing: a list that is not one a split writes, that lists another number
// of pieces than the script beside it joins, or that leaves out a piece standing beside them;
// a restore script for macOS and Linux of ours stands for a list where there is none, and one
// chosen that is not ours is refused.
// Through work's file system; throws a Failure of kind Stopped once its stop is asked for while
// a long list is read.
VerifyPlan planVerify(const QString &chosen, const Work &work);

struct VerifyResult : RunResult {
    using Status = PieceStatus;
    struct Entry {
        QString name;
        Status status = Status::Matches;
        // What stands there, when it is no file to read (a link, say): damaged so.
        FileKind standing = FileKind::Regular;
    };
    QList<Entry> pieces;
    // Whether the pieces, joined in order, make the file whose digest the list gives; nothing
    // when a piece could not be read.
    std::optional<Status> joined;
    std::optional<Entry> whole; // when the joined file stands beside its pieces
    QList<Entry> recovery;      // each recovery file the list names
    // When pieces are damaged or missing and recovery files stand beside them: what those can
    // do, or why that could not be told (par2 is missing, say).
    std::optional<RecoveryVerdict> rebuild;
    std::optional<Failure> rebuildUnknown;
    std::optional<Failure> posixScriptFault;

    bool allMatch() const;
};

// Hashes every piece the list names, each and all of them in order, its recovery files, and the
// joined file where it stands beside them, and compares; where pieces are damaged or missing
// and recovery files stand beside them, asks par2 what those can do. Never throws; tells
// progress and looks at the stop request between chunks.
VerifyResult runVerify(const VerifyPlan &plan, ProgressSink &progress, const StopRequest &stop);

// Starts a stage of progress in which par2 reads the pieces of names in folder that list names;
// par2's part done is told through what this returns.
FractionProgress startPar2Stage(const OutputFolder &folder, const OutputNames &names,
                                const ChecksumList &list, ProgressSink &progress);

// How each piece from first on compares with its line in list (piece first at 0), each hashed
// on its own: a stage of progress of its own. Throws a Failure, of kind Stopped once stop is
// asked for.
QList<PieceStatus> surveyPieces(const OutputFolder &folder, const OutputNames &names,
                                const ChecksumList &list, qint64 first, ProgressSink &progress,
                                const StopRequest &stop);
