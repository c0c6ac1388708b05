#include "messages/RemoteMessages.h"

#include "PluralCount.h"
#include "remote/ChunkerView.h"
#include "remote/RemoteJoin.h"
#include "remote/RemoteSplitPlan.h"
#include "remote/RemoteSplitRun.h"
#include "remote/RemoteVerify.h"
#include "words/ByteCounts.h"
#include "words/FailureText.h"
#include "words/MessageText.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

namespace RemoteMessages {

namespace {

class RemoteText {
    Q_DECLARE_TR_FUNCTIONS(RemoteMessages)
};

QString splitFailedTitle() {
    return RemoteText::tr("Error: Split Failed");
}

// Whether rclone's chunker takes the pieces of file there for the file: sizes are those it
// showed, none where it could not be asked.
QString chunkerNote(const QString &file, qint64 bytes, const QHash<QString, qint64> &sizes) {
    if (sizes.isEmpty())
        return {};
    if (sizes.value(file, -1) == bytes)
        return RemoteText::tr("rclone's chunker (%1) reads the pieces of %2 there as one file of "
                              "%3.")
            .arg(ChunkerView::options(), printable(file), byteCountText(bytes));
    return RemoteText::tr("rclone's chunker (%1) does not read the pieces of %2 there as one "
                          "file.")
        .arg(ChunkerView::options(), printable(file));
}

// How far the file under way got: its pieces that are there, and how to send the rest.
QString takenUpLater(const RemoteSplitPlan &plan, const RemoteSplitResult &result) {
    const RemotePlannedFile &file = plan.files[result.stoppedFile];
    const qint64 there = result.stoppedFile < qint64(result.files.size())
                             ? result.files[result.stoppedFile].inPlace()
                             : 0;
    if (there == 0)
        return RemoteText::tr("None of the pieces of %1 is on %2.")
            .arg(printable(file.names.fileName()), printable(plan.folder.path().text()));
    return RemoteText::tr("%1 of the %2 of %3 are on %4, whole; split again with --resume to "
                          "send the rest.",
                          nullptr, pluralCount(there))
        .arg(QLocale().toString(there), piecesText(file.pieces), printable(file.names.fileName()),
             printable(plan.folder.path().text()));
}

RunMessage splitStopped(const RemoteSplitPlan &plan, const RemoteSplitResult &result) {
    QStringList sentences{RemoteText::tr("The split was stopped.")};
    if (result.filesDone > 0)
        sentences << RemoteText::tr("%1 files were split.", nullptr, pluralCount(result.filesDone))
                         .arg(result.filesDone);
    if (result.stoppedFile >= 0)
        sentences << RemoteText::tr("The piece under way was removed.")
                  << takenUpLater(plan, result);
    return {
        RunMessage::Tone::Information, RemoteText::tr("Split Stopped"), sentences.join(u' '), {}};
}

RunMessage splitFailed(const RemoteSplitPlan &plan, const RemoteSplitResult &result) {
    const Failure &failure = *result.failure;
    if (result.stoppedFile >= 0) {
        const RemotePlannedFile &file = plan.files[result.stoppedFile];
        return {
            RunMessage::Tone::Error,
            splitFailedTitle(),
            RemoteText::tr("%1 could not be split onto the remote.\n\n%2\n\n%3")
                .arg(printable(file.queued.path), failureLine(failure), takenUpLater(plan, result)),
            {}};
    }
    if (result.filesDone == plan.files.size())
        return {RunMessage::Tone::Error,
                splitFailedTitle(),
                RemoteText::tr("The files were sent, but the last listing of %1 does not show "
                               "them all whole.\n\n%2")
                    .arg(printable(plan.folder.path().text()), failureLine(failure)),
                {}};
    return {RunMessage::Tone::Error,
            splitFailedTitle(),
            RemoteText::tr("The files could not be split.\n\n%1").arg(failureLine(failure)),
            {}};
}

} // namespace

RunMessage split(const RemoteSplitPlan &plan, const RemoteSplitResult &result) {
    switch (result.outcome) {
    case RunOutcome::Done:
        break;
    case RunOutcome::Stopped:
        return splitStopped(plan, result);
    case RunOutcome::Failed:
        return splitFailed(plan, result);
    }
    QStringList paragraphs{
        RemoteText::tr("I am done splitting all of the files"),
        RemoteText::tr("They are on %1, each at its size in a listing taken at the end.")
            .arg(printable(plan.folder.path().text()))};
    qint64 kept = 0;
    for (const SentPieces &sent : result.files)
        kept += sent.kept;
    if (kept > 0)
        paragraphs.last() += u' ' + RemoteText::tr("%1 pieces were there whole from the split "
                                                   "that was cut, and were kept.",
                                                   nullptr, pluralCount(kept))
                                        .arg(kept);
    QStringList notes;
    for (const RemotePlannedFile &file : plan.files) {
        if (const QString note =
                chunkerNote(file.names.fileName(), file.bytes, result.chunkerSizes);
            !note.isEmpty())
            notes << note;
    }
    if (!notes.isEmpty())
        paragraphs << notes.join(u'\n');
    return {RunMessage::Tone::Plain, {}, paragraphs.join(QStringLiteral("\n\n")), {}};
}

RunMessage join(const RemoteJoinPlan &plan, const JoinResult &result) {
    RunMessage message = RunMessages::join(plan.local, result);
    const QString note =
        chunkerNote(plan.set.names.fileName(), plan.local.totalBytes, plan.set.chunkerSizes);
    if (result.outcome == RunOutcome::Done && !note.isEmpty())
        message.text += QStringLiteral("\n\n") + note;
    return message;
}

RunMessage verify(const RemoteSet &set, const VerifyResult &result, RunMessages::Listed listed) {
    RunMessage message = RunMessages::verify(verifyPlanOf(set), result, listed);
    const QString note = chunkerNote(set.names.fileName(), set.totalBytes(), set.chunkerSizes);
    if (result.outcome == RunOutcome::Done && result.allMatch() && !note.isEmpty()) {
        message.text += QStringLiteral("\n\n") + note;
        if (!message.details.isEmpty())
            message.details += QStringLiteral("\n\n") + note;
    }
    return message;
}

} // namespace RemoteMessages
