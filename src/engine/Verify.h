#pragma once

#include "ChecksumList.h"
#include "OutputNames.h"
#include "RunResult.h"

#include <QList>
#include <QString>

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
// or a first piece, found by their names. Throws FileError when there is none, or it is not
// one a split writes.
VerifyPlan planVerify(const QString &chosen);

struct VerifyResult : RunResult {
    enum class Status {
        Matches,
        Damaged,
        Missing,
        Unlisted, // a piece past the last the list names: it would be joined, unchecked
    };
    struct Entry {
        QString name;
        Status status = Status::Matches;
        QString why; // what is wrong, when a file is there but is no piece (a link, say)
    };
    QList<Entry> pieces;
    std::optional<Entry> whole; // when the joined file stands beside its pieces

    bool allMatch() const;
};

// Hashes every piece the list names, and the joined file where it stands beside them, and
// compares. Never throws; tells progress and looks at the stop request between chunks.
VerifyResult runVerify(const VerifyPlan &plan, ProgressSink &progress, const StopRequest &stop);
