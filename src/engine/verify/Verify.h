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

// Pieces checked against their checksum list without joining them: nothing is written.
struct VerifyPlan {
    std::unique_ptr<OutputFolder> folder;
    OutputNames names{QString()};
    ChecksumList list;

    VerifyPlan();
    VerifyPlan(VerifyPlan &&) noexcept;
    VerifyPlan &operator=(VerifyPlan &&) noexcept;
    ~VerifyPlan();
};

// The list of the file chosen: the checksum list itself, or the one beside a restore script
// or a first piece, found by their names whatever their case. Throws Failure when there is
// none, or it proves nothing: a list that is not one a split writes, that lists another number
// of pieces than the script beside it joins, or that leaves out a piece standing beside them.
// Throws a Failure of kind Stopped once keepGoing says no while a long list is read.
VerifyPlan planVerify(
    const QString &chosen, const std::function<bool()> &keepGoing = [] { return true; });

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

    bool allMatch() const;
};

// A rebuild that follows at once has no need of par2's verdict: AskPar2::Never.
enum class AskPar2 { WhereDamaged, Never };

// Hashes every piece the list names, each and all of them in order, its recovery files, and the
// joined file where it stands beside them, and compares; where pieces are damaged or missing
// and recovery files stand beside them, asks par2 what those can do. Never throws; tells
// progress and looks at the stop request between chunks.
VerifyResult runVerify(const VerifyPlan &plan, ProgressSink &progress, const StopRequest &stop,
                       AskPar2 askPar2 = AskPar2::WhereDamaged);

// Starts a stage of progress in which par2 reads the pieces of plan, fileName the file it
// works from; par2's part done is told through what this returns.
FractionProgress startPar2Stage(const VerifyPlan &plan, ProgressSink &progress,
                                const QString &fileName);
