#include "messages/RunMessages.h"

#include "join/JoinPlan.h"
#include "messages/RecoveryMessages.h"
#include "messages/RefusalMessage.h"
#include "split/SplitPlan.h"
#include "verify/Verify.h"
#include "words/ByteCounts.h"
#include "words/FailureText.h"
#include "words/MessageText.h"

#include "PluralCount.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace RunMessages {

namespace {

class RunText {
    Q_DECLARE_TR_FUNCTIONS(RunMessages)
};

// Looked up when a message is made, in the language then installed.
QString splitFailedTitle() {
    return RunText::tr("Error: Split Failed");
}

QString joinFailedTitle() {
    return RunText::tr("Error: Join Failed");
}

QString verifyTitle() {
    return RunText::tr("Verify Pieces");
}

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString told(const Failure &failure) {
    return failureLine(failure);
}

// The source is named once, whether the failure was its own or an output's; without one
// (memory ran out before the first file), the failure is told on its own.
RunMessage splitFailed(const QString &source, const Failure &failure) {
    const QString why = native(failure.path()) == native(source) ? printable(failureReason(failure))
                                                                 : told(failure);
    return {RunMessage::Tone::Error,
            splitFailedTitle(),
            source.isEmpty()
                ? RunText::tr("The files could not be split.\n\n%1").arg(why)
                : RunText::tr("%1 could not be split.\n\n%2").arg(printable(native(source)), why),
            {}};
}

// An error box: what could not be done, then "path: reason" (the reason alone without a path).
RunMessage failedWith(const QString &title, const QString &what, const Failure &failure) {
    return {RunMessage::Tone::Error, title, what + QStringLiteral("\n\n") + told(failure), {}};
}

// "a, b and c"
QString namesList(const QStringList &names) {
    if (names.size() < 2)
        return names.join(QString());
    return RunText::tr("%1 and %2")
        .arg(names.mid(0, names.size() - 1).join(QStringLiteral(", ")), names.last());
}

RunMessage splitStopped(const SplitPlan &plan, const SplitResult &result) {
    QStringList split;
    for (qint64 i = 0; i < result.filesDone; ++i) {
        const QString name = printable(plan.files[i].queued.name);
        if (!split.contains(name))
            split << name;
    }
    const QString wasOrWere = split.size() == 1 ? RunText::tr("was") : RunText::tr("were");
    QStringList sentences{RunText::tr("The split was stopped.")};
    if (result.stoppedFile >= 0) {
        const QString stopped = printable(plan.files[result.stoppedFile].queued.name);
        sentences
            << (split.isEmpty()
                    ? RunText::tr("%1 was not split, and its pieces were removed.").arg(stopped)
                    : RunText::tr("%1 %2 split; %3 was not, and its pieces were removed.")
                          .arg(namesList(split), wasOrWere, stopped));
    } else if (!split.isEmpty()) {
        sentences << RunText::tr("%1 %2 split.").arg(namesList(split), wasOrWere);
    }
    const qint64 notStarted =
        plan.files.size() - result.filesDone - (result.stoppedFile >= 0 ? 1 : 0);
    if (notStarted > 0)
        sentences << RunText::tr("%1 files were not started.", nullptr, pluralCount(notStarted))
                         .arg(notStarted);
    return {RunMessage::Tone::Information, RunText::tr("Split Stopped"), sentences.join(u' '), {}};
}

QString restored(const JoinPlan &plan) {
    QString text = RunText::tr("%1 has been restored").arg(printable(plan.recipe.destination));
    if (plan.checksums.path.isEmpty())
        return text + QStringLiteral("\n\n") +
               RunText::tr("No checksum list stood beside the pieces, so they were joined "
                           "unchecked.");
    return text + QStringLiteral("\n\n") +
           (plan.recipe.pieceCount == 1 ? RunText::tr("The piece matched its checksum.")
                                        : RunText::tr("All %1 pieces matched their checksums.",
                                                      nullptr, pluralCount(plan.recipe.pieceCount))
                                              .arg(plan.recipe.pieceCount));
}

RunMessage checkStopped() {
    return {
        RunMessage::Tone::Information, verifyTitle(), RunText::tr("The check was stopped."), {}};
}

RunMessage joinStopped() {
    return {RunMessage::Tone::Information,
            RunText::tr("Join Stopped"),
            RunText::tr("The join was stopped. Nothing was written."),
            {}};
}

QString entryLine(const VerifyResult::Entry &entry) {
    QString state;
    switch (entry.status) {
    case VerifyResult::Status::Matches:
        state = RunText::tr("matches");
        break;
    case VerifyResult::Status::Damaged:
        state = entry.standing == FileKind::Regular
                    ? RunText::tr("damaged")
                    : RunText::tr("damaged (it is %1)").arg(fileKindText(entry.standing));
        break;
    case VerifyResult::Status::Missing:
        state = RunText::tr("missing");
        break;
    }
    return printable(QStringLiteral("\u2022 ") + entry.name + QStringLiteral(": ") + state);
}

// The join's end as the user reads it, the pieces rebuilt before it apart.
RunMessage joinEnded(const JoinPlan &plan, const JoinResult &result) {
    switch (result.outcome) {
    case RunOutcome::Done:
        break;
    case RunOutcome::Stopped:
        return joinStopped();
    case RunOutcome::Failed:
        if (result.inPlace)
            return {RunMessage::Tone::Warning,
                    joinFailedTitle(),
                    RunText::tr("%1 has been restored, but it may not have reached the disk "
                                "yet.\n\n%2")
                        .arg(printable(plan.recipe.destination), told(*result.failure)),
                    {}};
        return joinFailure(*result.failure);
    }
    return {RunMessage::Tone::Information, {}, restored(plan), {}};
}

} // namespace

RunMessage split(const SplitPlan &plan, const SplitResult &result) {
    switch (result.outcome) {
    case RunOutcome::Done:
        break;
    case RunOutcome::Stopped:
        return splitStopped(plan, result);
    case RunOutcome::Failed:
        if (result.stoppedFile < 0 && result.filesDone == plan.files.size())
            return {RunMessage::Tone::Error,
                    splitFailedTitle(),
                    RunText::tr("The files were split, but not all of them reached the disk."
                                "\n\n%1")
                        .arg(told(*result.failure)),
                    {}};
        return splitFailed(result.stoppedFile >= 0 ? plan.files[result.stoppedFile].queued.path
                                                   : QString(),
                           *result.failure);
    }
    QString done = RunText::tr("I am done splitting all of the files");
    if (plan.alignedToBlock > 0 && !plan.files.isEmpty())
        done += QStringLiteral("\n\n") +
                RunText::tr("Every piece but the last holds %1: the size rounded down to whole "
                            "blocks of the output file system, which are of %2.")
                    .arg(byteCountText(plan.files.first().pieceLength),
                         byteCountText(plan.alignedToBlock));
    if (!plan.files.isEmpty() && result.filesSharingBlocks == plan.files.size())
        done += QStringLiteral("\n\n") +
                RunText::tr("The pieces share their blocks with the files split, on this volume "
                            "that lets files share blocks: they take no extra space.");
    return {RunMessage::Tone::Plain, {}, done, {}};
}

RunMessage splitFailure(const Failure &failure) {
    if (failure.kind() == Failure::Kind::Stopped) // while earlier outputs were looked at
        return {RunMessage::Tone::Information,
                RunText::tr("Split Stopped"),
                RunText::tr("The split was stopped before anything was written."),
                {}};
    if (failure.kind() != Failure::Kind::Refused)
        return splitFailed({}, failure);
    // A long list goes into the details, so that the box still fits the screen.
    const std::vector<Failure> &refusals = failure.parts();
    return {RunMessage::Tone::Error, splitFailedTitle(), refusalMessage(refusals, kLinesInText),
            qsizetype(refusals.size()) > kLinesInText ? refusalMessage(refusals) : QString()};
}

RunMessage join(const JoinPlan &plan, const JoinResult &result) {
    RunMessage message = joinEnded(plan, result);
    if (!result.rebuilt.isEmpty()) // what was rebuilt stays, whatever ended the join after it
        message.text +=
            QStringLiteral("\n\n") + (result.outcome == RunOutcome::Done
                                          ? RecoveryMessages::rebuilt(result.rebuilt)
                                          : RecoveryMessages::rebuiltAndKept(result.rebuilt));
    return message;
}

RunMessage joinFailure(const Failure &failure) {
    const QString notJoined = RunText::tr("The pieces were not joined, and nothing was written.");
    switch (failure.kind()) {
    case Failure::Kind::Declined:
        return {RunMessage::Tone::Information, {}, notJoined, {}};
    case Failure::Kind::Stopped: // while pieces were rebuilt: they were taken away again
        return joinStopped();
    case Failure::Kind::Damaged:
        if (failure.path().isEmpty()) // pieces that could not be rebuilt, each named
            return failedWith(joinFailedTitle(), notJoined, failure);
        // "report.doc.2 is damaged: its SHA-256 does not match report.doc.sha256. ..."
        return {RunMessage::Tone::Error,
                joinFailedTitle(),
                RunText::tr("%1. Nothing was written.")
                    .arg(printable(QFileInfo(failure.path()).fileName() + u' ' +
                                   failureReason(failure))),
                {}};
    default:
        return failedWith(joinFailedTitle(), notJoined, failure);
    }
}

RunMessage verify(const VerifyPlan &plan, const VerifyResult &result, Listed listed) {
    switch (result.outcome) {
    case RunOutcome::Done:
        break;
    case RunOutcome::Stopped:
        return checkStopped();
    case RunOutcome::Failed:
        return verifyFailure(*result.failure);
    }
    const QString list = printable(QFileInfo(plan.list.path).fileName());
    const QString file = printable(plan.names.fileName());
    const qsizetype count = result.pieces.size();
    QStringList all;
    const auto listEntry = [&](const VerifyResult::Entry &entry) {
        if (listed == Listed::Everything || entry.status != VerifyResult::Status::Matches)
            all << entryLine(entry);
    };
    const auto matching = std::count_if(result.pieces.cbegin(), result.pieces.cend(),
                                        [](const VerifyResult::Entry &piece) {
                                            return piece.status == VerifyResult::Status::Matches;
                                        });
    for (const VerifyResult::Entry &piece : result.pieces)
        listEntry(piece);
    if (result.whole)
        listEntry(*result.whole);
    QString summary;
    if (matching < count)
        summary = RunText::tr("%1 of the %2 in %3 match.", nullptr, pluralCount(matching))
                      .arg(QLocale().toString(qint64(matching)), piecesText(count), list);
    else if (result.joined != VerifyResult::Status::Matches)
        summary = RunText::tr("Every piece matches its line in %1, but joined they would not "
                              "make %2 as the list gives it: its line for %2 is wrong.")
                      .arg(list, file);
    else
        summary = count == 1 ? RunText::tr("The piece matches %1 and makes %2.").arg(list, file)
                             : RunText::tr("All %1 pieces match %2, and joined they make %3.",
                                           nullptr, pluralCount(count))
                                   .arg(QString::number(count), list, file);
    if (result.whole)
        summary += result.whole->status == VerifyResult::Status::Matches
                       ? RunText::tr(" So does %1, joined beside them.").arg(file)
                       : RunText::tr(" %1, joined beside them, does not.").arg(file);
    if (result.posixScriptFault)
        summary += QStringLiteral("\n\n") +
                   RunText::tr("But %1 cannot be trusted to restore them: %2.")
                       .arg(printable(QFileInfo(result.posixScriptFault->path()).fileName()),
                            printable(failureReason(*result.posixScriptFault)));
    if (const QString recovery = RecoveryMessages::afterCheck(result); !recovery.isEmpty())
        summary += QStringLiteral("\n\n") + recovery;
    for (const VerifyResult::Entry &recoveryFile : result.recovery)
        listEntry(recoveryFile);
    const QString head = summary + QStringLiteral("\n\n");
    // All well is said in one line, the pieces one by one in the details.
    if (result.allMatch())
        return {RunMessage::Tone::Information, verifyTitle(), summary, head + all.join(u'\n')};
    return {RunMessage::Tone::Warning, verifyTitle(), head + listedAtMost(all, kLinesInText),
            all.size() > kLinesInText ? head + all.join(u'\n') : QString()};
}

RunMessage verifyFailure(const Failure &failure) {
    if (failure.kind() == Failure::Kind::Stopped) // while a long list was read
        return checkStopped();
    return failedWith(verifyTitle(), RunText::tr("The pieces could not be checked."), failure);
}

} // namespace RunMessages
