#include "words/FailureText.h"

#include "Failure.h"
#include "PluralCount.h"
#include "words/ByteCounts.h"
#include "words/MessageText.h"
#include "words/TextLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

namespace {

class FailureWords {
    Q_DECLARE_TR_FUNCTIONS(Failure)
};

// A failure's values as its sentence shows them.
class Values {
public:
    explicit Values(const Failure &failure)
        : m_args(failure.args()) {}

    QString operator[](qsizetype i) const {
        if (i >= m_args.size())
            return {};
        const FailureArg &arg = m_args[i];
        switch (arg.type) {
        case FailureArg::Type::Text:
        case FailureArg::Type::Name:
            return printable(arg.string);
        case FailureArg::Type::Path:
            return printable(QDir::toNativeSeparators(arg.string));
        case FailureArg::Type::Line:
            return quotedLine(arg.string);
        case FailureArg::Type::Count:
            return QLocale().toString(arg.number);
        case FailureArg::Type::Bytes:
            return bytesText(arg.number);
        case FailureArg::Type::PreciseBytes:
            return bytesTextPrecise(arg.number);
        case FailureArg::Type::FileKind:
            return fileKindText(FileKind(arg.number));
        }
        return {};
    }
    qint64 number(qsizetype i) const { return i < m_args.size() ? m_args[i].number : 0; }
    // The count at i as tr() takes it, to choose the plural form.
    int n(qsizetype i) const { return pluralCount(number(i)); }
    // "1 byte", "1,000 pieces": the count at i with its unit.
    QString byteCount(qsizetype i) const { return byteCountText(number(i)); }
    QString pieces(qsizetype i) const { return piecesText(number(i)); }
    // What par2 said, or that it said nothing.
    QString said(qsizetype i) const {
        const QString line = (*this)[i];
        return line.isEmpty() ? FailureWords::tr("it gave no reason") : line;
    }

private:
    const QList<FailureArg> &m_args;
};

// "its piece /out/x.1"; "it" for a piece the run found past those it checked.
QString outputSubject(const Values &values) {
    return FailureWords::tr("its %1 %2").arg(values[0], values[1]);
}

// A line of a restore script, quoted after why it was refused.
QString scriptLine(const Values &values, const QString &why) {
    return FailureWords::tr("line %1 %2, so nothing of the script was run: ").arg(values[0], why) +
           values[1];
}

QString listLine(const Values &values, const QString &why) {
    return FailureWords::tr("line %1 %2, so the pieces were not checked against it: ")
               .arg(values[0], why) +
           values[1];
}

QString cannotRebuild(const Values &values) {
    const QString found =
        FailureWords::tr("%1 of the %2 are damaged or missing", nullptr, values.n(0))
            .arg(values[0], values.pieces(1));
    const QString why = FailureWords::tr("%1, more than the recovery files can rebuild: %2 more "
                                         "pieces would be needed.",
                                         nullptr, values.n(2))
                            .arg(found, values[2]);
    if (values[3].isEmpty())
        return why;
    return why + u' ' + FailureWords::tr("Damaged or missing: %1.").arg(values[3]);
}

QString systemReason(const Failure &failure) {
    return qt_error_string(failure.systemError());
}

// The cause a reason is made of.
QString causeOf(const Failure &failure) {
    return failure.parts().empty() ? QString() : failureReason(failure.parts().front());
}

} // namespace

QString fileKindText(FileKind kind) {
    switch (kind) {
    case FileKind::Missing:
        break;
    case FileKind::Regular:
        return FailureWords::tr("a file");
    case FileKind::Folder:
        return FailureWords::tr("a folder");
    case FileKind::SymbolicLink:
        return FailureWords::tr("a symbolic link");
    case FileKind::Fifo:
        return FailureWords::tr("a FIFO (named pipe)");
    case FileKind::Device:
        return FailureWords::tr("a device");
    case FileKind::Socket:
        return FailureWords::tr("a socket");
    case FileKind::Other:
        return FailureWords::tr("not a regular file");
    }
    return {};
}

QString failureLine(const Failure &failure) {
    const QString path = QDir::toNativeSeparators(failure.path());
    const QString reason = failureReason(failure);
    return printable(path.isEmpty() ? reason : path + QStringLiteral(": ") + reason);
}

QString failureReason(const Failure &failure) {
    using Code = Failure::Code;
    const Values v(failure);
    switch (failure.code()) {
    case Code::System:
        return systemReason(failure);
    case Code::Stopped:
        return FailureWords::tr("it was stopped");
    case Code::NoMemory:
        return FailureWords::tr("there is not enough memory");
    case Code::UnknownError:
        return FailureWords::tr("an unknown error");
    case Code::OtherError:
        return v[0];
    case Code::NoThreadToSpare:
        return FailureWords::tr("the system has no thread to spare: %1").arg(v[0]);
    case Code::ReadOnlyFolder:
        return FailureWords::tr("it is read-only: nothing can be written there");
    case Code::FolderIsFull:
        return FailureWords::tr("its disk is full: nothing more can be written there");
    case Code::NoFilesLeft:
        return FailureWords::tr("its file system can make no more files");
    case Code::WritesNoLink:
        return FailureWords::tr("it is a symbolic link, which Tessary never writes through");
    case Code::FollowsNoLink:
        return FailureWords::tr("it is a symbolic link, which Tessary does not follow");
    case Code::NotRegularFile:
        return FailureWords::tr("it is not a regular file");
    case Code::NotRegularFileKind:
        return FailureWords::tr("it is %1, not a regular file").arg(v[0]);
    case Code::HasOtherNames:
        return FailureWords::tr(
            "it has other names (hard links), which writing it would change too");
    case Code::AppearedMeanwhile:
        return FailureWords::tr(
            "a file of this name appeared while Tessary wrote it, and was not replaced");
    case Code::LongerThanExpected:
        return FailureWords::tr("it holds more than the %1 bytes expected", nullptr, v.n(0))
            .arg(v[0]);
    case Code::LockKeepsBeingReplaced:
        return FailureWords::tr("it keeps being replaced");
    case Code::Par2Missing:
        return FailureWords::tr("recovery files need the par2 program (apt install par2)");
    case Code::Par2NotStarted:
        return FailureWords::tr("the par2 program could not be started: %1").arg(v[0]);
    case Code::Par2EndedEarly:
        return FailureWords::tr("the par2 program ended early: %1").arg(v[0]);
    case Code::RcloneMissing:
        return FailureWords::tr("remotes need the rclone program (apt install rclone)");
    case Code::RcloneNotStarted:
        return FailureWords::tr("the rclone program could not be started: %1").arg(v[0]);
    case Code::RcloneEndedEarly:
        return FailureWords::tr("the rclone program ended early: %1").arg(v[0]);
    case Code::RcloneAnswerUnreadable:
        return FailureWords::tr("what rclone answered could not be read: %1").arg(v.said(0));

    case Code::RemoteNotConfigured:
        return FailureWords::tr(
                   "%1 is not a remote of rclone's configuration (rclone listremotes lists them, "
                   "rclone config adds one)")
            .arg(v[0]);
    case Code::RemoteCredentialsRefused:
        return FailureWords::tr("the remote refused the credentials: %1").arg(v.said(0));
    case Code::RemoteQuotaExceeded:
        return FailureWords::tr("the remote has no room left (a quota exceeded): %1")
            .arg(v.said(0));
    case Code::RemoteConnectionLost:
        return FailureWords::tr("the connection to the remote was lost: %1").arg(v.said(0));
    case Code::RemoteNotFound:
        return FailureWords::tr("it is not on the remote: %1").arg(v.said(0));
    case Code::RemoteFailed:
        return FailureWords::tr("rclone could not do it: %1").arg(v.said(0));

    case Code::NameHoldsDoubleQuote:
        return FailureWords::tr("its name holds a double quote, which no restore script can hold");
    case Code::NameHoldsControl:
        return FailureWords::tr(
                   "its name holds a control character (%1), which no restore script can hold")
            .arg(v[0]);
    case Code::NameHoldsWildcard:
        return FailureWords::tr(
                   "its name holds \"%1\", a wildcard to the Windows command shell, so the "
                   "restore script could join other files")
            .arg(v[0]);
    case Code::NameHoldsForbidden:
        return FailureWords::tr(
                   "its name holds \"%1\", which Windows does not allow in a file name")
            .arg(v[0]);
    case Code::NameEndsInBlank:
        return FailureWords::tr("its name ends with a blank, which Windows drops from file names");
    case Code::NameEndsInDot:
        return FailureWords::tr("its name ends with a dot, which Windows drops from file names");
    case Code::NameIsDevice:
        return FailureWords::tr(
                   "\"%1\" is a device name on Windows, so its pieces and restore script could "
                   "not be used there")
            .arg(v[0]);
    case Code::NameNotUtf8:
        return FailureWords::tr(
            "its name is not valid UTF-8, so it cannot stand in a restore script");

    case Code::RecoveryNeedsChecksums:
        return FailureWords::tr(
            "recovery files are written only with the checksum list, which names them: "
            "turn the checksum list on");
    case Code::SameNamesAs:
        return FailureWords::tr(
                   "its pieces and restore script would take the same names as those of %1, "
                   "which is queued before it")
            .arg(v[0]);
    case Code::OutputQueued:
        return FailureWords::tr("%1 is itself queued to be split").arg(outputSubject(v));
    case Code::OutputQueuedAs:
        return FailureWords::tr(
                   "%1 would take the name of %2, which is queued to be split: Windows does "
                   "not tell the two names apart")
            .arg(outputSubject(v), v[2]);
    case Code::OutputHardLinkOf:
        return FailureWords::tr(
                   "%1 is another name (a hard link) of %2, which is queued to be split")
            .arg(outputSubject(v), v[2]);
    case Code::OutputSymbolicLink:
        return FailureWords::tr("%1 is a symbolic link, which Tessary never writes through")
            .arg(outputSubject(v));
    case Code::OutputNotRegular:
        return FailureWords::tr("%1 is %2, not a regular file").arg(outputSubject(v), v[2]);
    case Code::OutputOtherNames:
        return FailureWords::tr(
                   "%1 has other names (hard links), which writing it would change too")
            .arg(outputSubject(v));
    case Code::OutputCaseTwin:
        return FailureWords::tr(
                   "%1 would take the name of %2 once on Windows, which does not tell the two "
                   "names apart")
            .arg(outputSubject(v), v[2]);
    case Code::OutputNotWritable:
        return FailureWords::tr("%1 exists, and Tessary may not write it").arg(outputSubject(v));
    case Code::OutputNotOurs:
        return FailureWords::tr("its %1 %2 is not a %1 of %3's pieces; Tessary will not replace it")
            .arg(v[0], v[1], v[2]);
    case Code::PieceNotNamedBeside:
        return FailureWords::tr(
                   "a file stands at its piece's name %1, and no restore script or checksum "
                   "list of %2 beside it names that piece: it may be a file of your own (a "
                   "rotated log, say); Tessary will not replace it")
            .arg(v[0], v[1]);
    case Code::OutputNotExamined:
        return FailureWords::tr("%1 cannot be examined: %2").arg(v[0], causeOf(failure));
    case Code::AnotherRunSplits:
        return FailureWords::tr("another Tessary run is writing %1's pieces there").arg(v[0]);
    case Code::NameTooLong:
        return FailureWords::tr(
                   "the name %1 would take %2 bytes, more than the %3 that the output folder's "
                   "file system allows in a name",
                   nullptr, v.n(1))
            .arg(v[0], v[1], v[2]);
    case Code::PathTooLong:
        return FailureWords::tr(
                   "the name %1 would take a path of %2 bytes, more than the %3 that the "
                   "system allows",
                   nullptr, v.n(1))
            .arg(v[0], v[1], v[2]);
    case Code::FolderNotWritable:
        return FailureWords::tr("Tessary may not make files in this folder");
    case Code::FolderRemoved:
        return FailureWords::tr("this folder has been removed");
    case Code::SplitNeedsSpace:
        return FailureWords::tr("the split needs %1 of free space there, but only %2 is free")
            .arg(v[0], v[1]);
    case Code::SplitNeedsFiles:
        return FailureWords::tr("the split needs %1 new files there, but only %2 more can be made",
                                nullptr, v.n(0))
            .arg(v[0], v[1]);
    case Code::PieceTooLargeForVolume:
        return FailureWords::tr(
                   "its file system holds files of at most %1, smaller than the %2 pieces")
            .arg(v[0], v[1]);
    case Code::PieceUnderBlock:
        return FailureWords::tr("pieces of %1 cannot be rounded down to whole blocks of its file "
                                "system, which are of %2")
            .arg(v.byteCount(0), v.byteCount(1));
    case Code::FewerBytesThanPieces:
        return FailureWords::tr("it holds %1, fewer than the %2 asked for")
            .arg(v.byteCount(0), v.pieces(1));
    case Code::NotInEqualPieces:
        return FailureWords::tr(
                   "it holds %1, which cannot be cut into %2 of one length (the last no longer)")
            .arg(v.byteCount(0), v.pieces(1));
    case Code::SplitRefused:
        return FailureWords::tr("the split was not started");

    case Code::ChangedAfterCheck:
        return FailureWords::tr("it changed after it was checked");
    case Code::ChangedWhileSplit:
        return FailureWords::tr("it changed while it was split");
    case Code::ReplacedWhileWritten:
        return FailureWords::tr("it was replaced while it was written");
    case Code::CutShortWhileWritten:
        return FailureWords::tr("it was cut short while it was written");
    case Code::LatePieceQueued:
        return v[0].isEmpty()
                   ? FailureWords::tr("it is itself queued to be split")
                   : FailureWords::tr("it would take the name of %1, which is queued to be "
                                      "split: Windows does not tell the two names apart")
                         .arg(v[0]);
    case Code::LatePieceHardLinkOf:
        return FailureWords::tr(
                   "it is another name (a hard link) of %1, which is queued to be split")
            .arg(v[0]);
    case Code::LatePieceSymbolicLink:
        return FailureWords::tr("it is a symbolic link, which Tessary never writes through");
    case Code::LatePieceNotRegular:
        return FailureWords::tr("it is %1, not a regular file").arg(v[0]);
    case Code::LatePieceOtherNames:
        return FailureWords::tr(
            "it has other names (hard links), which writing it would change too");
    case Code::LatePieceCaseTwin:
        return FailureWords::tr(
                   "it would take the name of %1 once on Windows, which does not tell the two "
                   "names apart")
            .arg(v[0]);
    case Code::LatePieceNotWritable:
        return FailureWords::tr("it exists, and Tessary may not write it");

    case Code::ScriptTooLarge:
        return FailureWords::tr("it is too large to be a restore script");
    case Code::ScriptTooShort:
        return FailureWords::tr(
            "it is not a restore script that Tessary writes: it has fewer than two "
            "lines");
    case Code::ScriptByteOrderMark:
        return scriptLine(v,
                          FailureWords::tr("starts with a byte order mark, which the command shell "
                                           "does not read"));
    case Code::ScriptLineTooLong:
        return scriptLine(v, FailureWords::tr("is longer than the command shell reads"));
    case Code::ScriptLineNotUtf8:
        return scriptLine(v, FailureWords::tr("is not valid UTF-8"));
    case Code::ScriptLineAfterEcho:
        return scriptLine(v,
                          FailureWords::tr("comes after the line that says %1 is restored, where a "
                                           "restore script ends")
                              .arg(v[2]));
    case Code::ScriptLineNotCopy:
        return scriptLine(v, FailureWords::tr("is not a command that Tessary writes"));
    case Code::ScriptMakesUnsplittable:
        return scriptLine(v, FailureWords::tr("makes %1, a file that Tessary does not split (%2)")
                                 .arg(v[2], causeOf(failure)));
    case Code::ScriptMakesOther:
        return scriptLine(v, FailureWords::tr("makes %1, not %2").arg(v[2], v[3]));
    case Code::ScriptLineGoesNotOn:
        return scriptLine(v, FailureWords::tr("does not go on from %1").arg(v[2]));
    case Code::ScriptNamesWrongPiece:
        return scriptLine(v,
                          FailureWords::tr("names %1 where the piece %2 belongs").arg(v[2], v[3]));
    case Code::ScriptLineNotEcho:
        return scriptLine(v,
                          FailureWords::tr("is not the line that says %1 is restored").arg(v[2]));
    case Code::ScriptRestoresOther:
        return FailureWords::tr("it stands beside %1 but restores %2, not %3")
            .arg(v[0], v[1], v[2]);
    case Code::ScriptDisagreesWithList:
        return FailureWords::tr("%1 joins %2, but %3 lists %4").arg(v[0], v.pieces(1), v[2], v[3]);
    case Code::PosixScriptNotOurs:
        return FailureWords::tr("it is not a restore script that Tessary wrote for %1").arg(v[0]);
    case Code::PosixScriptDisagreesWithList:
        return FailureWords::tr("it gives other pieces than %1 lists").arg(v[0]);
    case Code::ListOmitsPieceBeside:
        return FailureWords::tr(
                   "it lists %1, but %2 stands beside them too, so the pieces were not checked "
                   "against it")
            .arg(v.pieces(0), v[1]);
    case Code::MissingThoughLaterThere:
        return FailureWords::tr("this piece is missing, though %1 is there").arg(v[0]);
    case Code::ChosenLaterPiece:
        return FailureWords::tr(
            "it is a piece; choose the restore script, the checksum list or the first "
            "piece (the one whose name ends in .1)");
    case Code::ChooseListScriptOrFirst:
        return FailureWords::tr(
            "choose the checksum list, the restore script or the first piece (the one "
            "whose name ends in .1)");

    case Code::ListTooLarge:
        return FailureWords::tr(
            "it is larger than any checksum list of a split, so the pieces were not "
            "checked against it");
    case Code::ListHasNoWholeLine:
        return FailureWords::tr(
                   "it has no line for %1, so it cannot tell whether the pieces make that file")
            .arg(v[0]);
    case Code::ListHasNoPieces:
        return FailureWords::tr("it names no pieces of %1, so there is nothing to check").arg(v[0]);
    case Code::ListSkipsPiece:
        return FailureWords::tr("it has no line for %1, though it lists %2").arg(v[0], v[1]);
    case Code::ListLineTooLong:
        return listLine(v, FailureWords::tr("is longer than any line of a checksum list"));
    case Code::ListLineNotDigest:
        return listLine(v, FailureWords::tr("is not a SHA-256 digest and a name"));
    case Code::ListLineNamesOther:
        return listLine(v, FailureWords::tr("names %1, which is neither %2 nor one of its pieces")
                               .arg(v[2], v[3]));
    case Code::ListLineRepeats:
        return listLine(v, FailureWords::tr("names %1 a second time").arg(v[2]));
    case Code::TwoListsBeside:
        return FailureWords::tr(
                   "it and %1 are both a checksum list of %2; Tessary cannot tell which one to "
                   "trust")
            .arg(v[0], v[1]);
    case Code::NoListToCheck:
        return FailureWords::tr(
                   "no checksum list (%1) stands beside it, so there is nothing to check the "
                   "pieces against")
            .arg(v[0]);

    case Code::PieceMissing:
        return FailureWords::tr("this piece is missing");
    case Code::PieceIsLink:
        return FailureWords::tr("it is a symbolic link; Tessary joins only the pieces themselves");
    case Code::PieceNotAFile:
        return FailureWords::tr("it is %1, not a piece").arg(v[0]);
    case Code::PieceSameAs:
        return FailureWords::tr("it is the same file as %1 (a hard link), not a piece of its own")
            .arg(v[0]);
    case Code::PieceIsTheScript:
        return FailureWords::tr("it is the restore script itself, not a piece");
    case Code::NoScriptDeclined:
        return FailureWords::tr("no restore script stands beside it, and the join was not started");
    case Code::OddPieceDamaged:
        return FailureWords::tr("holds %1, but %2 holds %3: a piece is damaged")
            .arg(v.byteCount(0), v[1], v.byteCount(2));
    case Code::OddPieceDeclined:
        return FailureWords::tr(
            "its length is not that of a piece of this split, and the join was stopped");
    case Code::DestinationIsScript:
        return FailureWords::tr(
            "it is the restore script being read, which a split never names after the "
            "file it restores");
    case Code::DestinationNotAFile:
        return FailureWords::tr("it is %1, which a join never replaces").arg(v[0]);
    case Code::DestinationIsPiece:
        return FailureWords::tr("it is one of its own pieces");
    case Code::ReplaceDeclined:
        return FailureWords::tr("it exists, and was not replaced");
    case Code::AnotherRunJoins:
        return FailureWords::tr("another Tessary run is writing %1 or its pieces there").arg(v[0]);
    case Code::JoinNeedsSpace:
        return FailureWords::tr("the joined file needs %1 of free space there, but only %2 is free")
            .arg(v[0], v[1]);
    case Code::JoinNeedsFile:
        return FailureWords::tr("the joined file needs a new file there, but no more can be made");
    case Code::CutShortWhileJoined:
        return FailureWords::tr("it was cut short while it was joined");
    case Code::PieceDamaged:
        return FailureWords::tr("is damaged: its SHA-256 does not match %1").arg(v[0]);
    case Code::JoinedWouldDiffer:
        return FailureWords::tr(
                   "would not be the file that was split: its SHA-256 does not match %1")
            .arg(v[0]);

    case Code::Par2ArgumentsTooLong:
        return FailureWords::tr(
                   "the names of its %1 pieces are too long together to be handed to the par2 "
                   "program; fewer pieces or a shorter name would do",
                   nullptr, v.n(0))
            .arg(v[0]);
    case Code::TooManyPiecesForRecovery:
        return FailureWords::tr(
                   "it would be cut into %1 pieces, more than the %2 that recovery files can "
                   "cover",
                   nullptr, v.n(0))
            .arg(v[0], v[1]);
    case Code::RecoveryTooLargeForVolume:
        return FailureWords::tr("its recovery files would not fit the output folder's file system");
    case Code::Par2CouldNotRead:
        return FailureWords::tr("the par2 program could not read the recovery files: %1")
            .arg(v.said(0));
    case Code::Par2CouldNotMake:
        return FailureWords::tr("the par2 program could not make the recovery files: %1")
            .arg(v.said(0));
    case Code::Par2DidNotMake:
        return FailureWords::tr("the par2 program did not make this recovery file");
    case Code::Par2MadeUnasked:
        return FailureWords::tr(
            "the par2 program made this file, which Tessary did not ask for, so no "
            "recovery file was kept");
    case Code::ChangedWhileRebuilt:
        return FailureWords::tr("it changed while it was rebuilt");
    case Code::RebuildWillNotReplace:
        return FailureWords::tr("it is %1, which Tessary will not replace with a rebuilt piece")
            .arg(v[0]);
    case Code::RebuildNeedsSpace:
        return FailureWords::tr(
                   "the rebuilt pieces need %1 of free space there, but only %2 is free")
            .arg(v[0], v[1]);
    case Code::NoSymbolicLinks:
        return FailureWords::tr(
                   "its file system has no symbolic links, which Tessary needs to rebuild "
                   "pieces there safely; copy the pieces and recovery files to another disk, "
                   "or run par2 repair %1 there")
            .arg(v[0]);
    case Code::Par2DidNotRebuild:
        return FailureWords::tr("the par2 program did not rebuild it");
    case Code::RebuiltDoesNotMatch:
        return FailureWords::tr("the par2 program rebuilt it, but it does not match %1").arg(v[0]);
    case Code::Par2CouldNotRebuild:
        return FailureWords::tr("the par2 program could not rebuild the pieces: %1").arg(v.said(0));
    case Code::NoRecoveryFileBeside:
        return FailureWords::tr("no recovery file of %1 stands beside its pieces").arg(v[0]);
    case Code::CannotRebuild:
        return cannotRebuild(v);

    case Code::RecoveryNotToRemote:
        return FailureWords::tr(
            "recovery files are made from pieces on the local disk, and a split to a remote "
            "writes none there: choose no recovery files");
    case Code::RemoteFolderMissing:
        return FailureWords::tr(
            "this folder is not on the remote, and Tessary makes it only when asked to (--mkdir)");
    case Code::RemotePieceNotNamed:
        return FailureWords::tr(
                   "a file stands at its piece's name %1, and no restore script or checksum "
                   "list of %2 beside it names that piece; Tessary will not replace it. Where a "
                   "split that was cut left it, split again with --resume, which keeps it if it "
                   "is that piece")
            .arg(v[0], v[1]);
    case Code::RemotePieceDiffers:
        return FailureWords::tr(
                   "it is not the piece that this split of %1 makes, and no restore script or "
                   "checksum list beside it names it, so it is not one of a split that was cut; "
                   "Tessary will not replace it")
            .arg(v[0]);
    case Code::RemoteSizeNotAsSent:
        return FailureWords::tr("after the upload it holds %1 on the remote, not the %2 sent")
            .arg(v.byteCount(0), v.byteCount(1));
    case Code::RemoteHashNotAsSent:
        return FailureWords::tr(
                   "after the upload its %1 on the remote is not that of the bytes sent")
            .arg(v[0]);
    case Code::RemoteMissingAfterUpload:
        return FailureWords::tr("after the upload it is not on the remote");
    case Code::NotOnRemote:
        return FailureWords::tr("it is not on the remote");
    }
    return {};
}
