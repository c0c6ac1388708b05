#include "words/FailureText.h"

#include "Failure.h"
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
    const qint64 damaged = values.number(0);
    const qint64 more = values.number(2);
    const QString found =
        damaged == 1 ? FailureWords::tr("1 of the %1 pieces is damaged or missing").arg(values[1])
                     : FailureWords::tr("%1 of the %2 pieces are damaged or missing")
                           .arg(values[0], values[1]);
    QString why = more == 1 ? FailureWords::tr("%1, more than the recovery files can rebuild: 1 "
                                               "more piece would be needed.")
                                  .arg(found)
                            : FailureWords::tr("%1, more than the recovery files can rebuild: %2 "
                                               "more pieces would be needed.")
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
    using W = FailureWords;
    const Values v(failure);
    switch (failure.code()) {
    case Code::System:
        return systemReason(failure);
    case Code::Stopped:
        return W::tr("it was stopped");
    case Code::NoMemory:
        return W::tr("there is not enough memory");
    case Code::UnknownError:
        return W::tr("an unknown error");
    case Code::OtherError:
        return v[0];
    case Code::NoThreadToSpare:
        return W::tr("the system has no thread to spare: %1").arg(v[0]);
    case Code::ReadOnlyFolder:
        return W::tr("it is read-only: nothing can be written there");
    case Code::FolderIsFull:
        return W::tr("its disk is full: nothing more can be written there");
    case Code::NoFilesLeft:
        return W::tr("its file system can make no more files");
    case Code::WritesNoLink:
        return W::tr("it is a symbolic link, which Tessary never writes through");
    case Code::FollowsNoLink:
        return W::tr("it is a symbolic link, which Tessary does not follow");
    case Code::NotRegularFile:
        return W::tr("it is not a regular file");
    case Code::NotRegularFileKind:
        return W::tr("it is %1, not a regular file").arg(v[0]);
    case Code::HasOtherNames:
        return W::tr("it has other names (hard links), which writing it would change too");
    case Code::AppearedMeanwhile:
        return W::tr("a file of this name appeared while Tessary wrote it, and was not replaced");
    case Code::LongerThanExpected:
        return v.number(0) == 1 ? W::tr("it holds more than the 1 byte expected")
                                : W::tr("it holds more than the %1 bytes expected").arg(v[0]);
    case Code::LockKeepsBeingReplaced:
        return W::tr("it keeps being replaced");
    case Code::Par2Missing:
        return W::tr("recovery files need the par2 program (apt install par2)");
    case Code::Par2NotStarted:
        return W::tr("the par2 program could not be started: %1").arg(v[0]);
    case Code::Par2EndedEarly:
        return W::tr("the par2 program ended early: %1").arg(v[0]);

    case Code::NameHoldsDoubleQuote:
        return W::tr("its name holds a double quote, which no restore script can hold");
    case Code::NameHoldsControl:
        return W::tr("its name holds a control character (%1), which no restore script can hold")
            .arg(v[0]);
    case Code::NameHoldsWildcard:
        return W::tr("its name holds \"%1\", a wildcard to the Windows command shell, so the "
                     "restore script could join other files")
            .arg(v[0]);
    case Code::NameHoldsForbidden:
        return W::tr("its name holds \"%1\", which Windows does not allow in a file name")
            .arg(v[0]);
    case Code::NameEndsInBlank:
        return W::tr("its name ends with a blank, which Windows drops from file names");
    case Code::NameEndsInDot:
        return W::tr("its name ends with a dot, which Windows drops from file names");
    case Code::NameIsDevice:
        return W::tr("\"%1\" is a device name on Windows, so its pieces and restore script could "
                     "not be used there")
            .arg(v[0]);
    case Code::NameNotUtf8:
        return W::tr("its name is not valid UTF-8, so it cannot stand in a restore script");

    case Code::RecoveryNeedsChecksums:
        return W::tr("recovery files are written only with the checksum list, which names them: "
                     "turn the checksum list on");
    case Code::SameNamesAs:
        return W::tr("its pieces and restore script would take the same names as those of %1, "
                     "which is queued before it")
            .arg(v[0]);
    case Code::OutputQueued:
        return W::tr("%1 is itself queued to be split").arg(outputSubject(v));
    case Code::OutputQueuedAs:
        return W::tr("%1 would take the name of %2, which is queued to be split: Windows does "
                     "not tell the two names apart")
            .arg(outputSubject(v), v[2]);
    case Code::OutputHardLinkOf:
        return W::tr("%1 is another name (a hard link) of %2, which is queued to be split")
            .arg(outputSubject(v), v[2]);
    case Code::OutputSymbolicLink:
        return W::tr("%1 is a symbolic link, which Tessary never writes through")
            .arg(outputSubject(v));
    case Code::OutputNotRegular:
        return W::tr("%1 is %2, not a regular file").arg(outputSubject(v), v[2]);
    case Code::OutputOtherNames:
        return W::tr("%1 has other names (hard links), which writing it would change too")
            .arg(outputSubject(v));
    case Code::OutputCaseTwin:
        return W::tr("%1 would take the name of %2 once on Windows, which does not tell the two "
                     "names apart")
            .arg(outputSubject(v), v[2]);
    case Code::OutputNotWritable:
        return W::tr("%1 exists, and Tessary may not write it").arg(outputSubject(v));
    case Code::OutputNotOurs:
        return W::tr("its %1 %2 is not a %1 of %3's pieces; Tessary will not replace it")
            .arg(v[0], v[1], v[2]);
    case Code::PieceNotNamedBeside:
        return W::tr("a file stands at its piece's name %1, and no restore script or checksum "
                     "list of %2 beside it names that piece: it may be a file of your own (a "
                     "rotated log, say); Tessary will not replace it")
            .arg(v[0], v[1]);
    case Code::OutputNotExamined:
        return W::tr("%1 cannot be examined: %2").arg(v[0], causeOf(failure));
    case Code::AnotherRunSplits:
        return W::tr("another Tessary run is writing %1's pieces there").arg(v[0]);
    case Code::NameTooLong:
        return W::tr("the name %1 would take %2 bytes, more than the %3 that the output folder's "
                     "file system allows in a name")
            .arg(v[0], v[1], v[2]);
    case Code::PathTooLong:
        return W::tr("the name %1 would take a path of %2 bytes, more than the %3 that the "
                     "system allows")
            .arg(v[0], v[1], v[2]);
    case Code::FolderNotWritable:
        return W::tr("Tessary may not make files in this folder");
    case Code::FolderRemoved:
        return W::tr("this folder has been removed");
    case Code::SplitNeedsSpace:
        return W::tr("the split needs %1 of free space there, but only %2 is free").arg(v[0], v[1]);
    case Code::SplitNeedsFiles:
        return W::tr("the split needs %1 new files there, but only %2 more can be made")
            .arg(v[0], v[1]);
    case Code::PieceTooLargeForVolume:
        return W::tr("its file system holds files of at most %1, smaller than the %2 pieces")
            .arg(v[0], v[1]);
    case Code::FewerBytesThanPieces:
        return v.number(0) == 1
                   ? W::tr("it holds 1 byte, fewer than the %1 pieces asked for").arg(v[1])
                   : W::tr("it holds %1 bytes, fewer than the %2 pieces asked for").arg(v[0], v[1]);
    case Code::NotInEqualPieces:
        return W::tr("it holds %1 bytes, which cannot be cut into %2 pieces of one length (the "
                     "last no longer)")
            .arg(v[0], v[1]);
    case Code::SplitRefused:
        return W::tr("the split was not started");

    case Code::ChangedAfterCheck:
        return W::tr("it changed after it was checked");
    case Code::ChangedWhileSplit:
        return W::tr("it changed while it was split");
    case Code::ReplacedWhileWritten:
        return W::tr("it was replaced while it was written");
    case Code::CutShortWhileWritten:
        return W::tr("it was cut short while it was written");
    case Code::LatePieceQueued:
        return v[0].isEmpty() ? W::tr("it is itself queued to be split")
                              : W::tr("it would take the name of %1, which is queued to be "
                                      "split: Windows does not tell the two names apart")
                                    .arg(v[0]);
    case Code::LatePieceHardLinkOf:
        return W::tr("it is another name (a hard link) of %1, which is queued to be split")
            .arg(v[0]);
    case Code::LatePieceSymbolicLink:
        return W::tr("it is a symbolic link, which Tessary never writes through");
    case Code::LatePieceNotRegular:
        return W::tr("it is %1, not a regular file").arg(v[0]);
    case Code::LatePieceOtherNames:
        return W::tr("it has other names (hard links), which writing it would change too");
    case Code::LatePieceCaseTwin:
        return W::tr("it would take the name of %1 once on Windows, which does not tell the two "
                     "names apart")
            .arg(v[0]);
    case Code::LatePieceNotWritable:
        return W::tr("it exists, and Tessary may not write it");

    case Code::ScriptTooLarge:
        return W::tr("it is too large to be a restore script");
    case Code::ScriptTooShort:
        return W::tr("it is not a restore script that Tessary writes: it has fewer than two "
                     "lines");
    case Code::ScriptByteOrderMark:
        return scriptLine(v, W::tr("starts with a byte order mark, which the command shell "
                                   "does not read"));
    case Code::ScriptLineTooLong:
        return scriptLine(v, W::tr("is longer than the command shell reads"));
    case Code::ScriptLineNotUtf8:
        return scriptLine(v, W::tr("is not valid UTF-8"));
    case Code::ScriptLineAfterEcho:
        return scriptLine(v, W::tr("comes after the line that says %1 is restored, where a "
                                   "restore script ends")
                                 .arg(v[2]));
    case Code::ScriptLineNotCopy:
        return scriptLine(v, W::tr("is not a command that Tessary writes"));
    case Code::ScriptMakesUnsplittable:
        return scriptLine(
            v,
            W::tr("makes %1, a file that Tessary does not split (%2)").arg(v[2], causeOf(failure)));
    case Code::ScriptMakesOther:
        return scriptLine(v, W::tr("makes %1, not %2").arg(v[2], v[3]));
    case Code::ScriptLineGoesNotOn:
        return scriptLine(v, W::tr("does not go on from %1").arg(v[2]));
    case Code::ScriptNamesWrongPiece:
        return scriptLine(v, W::tr("names %1 where the piece %2 belongs").arg(v[2], v[3]));
    case Code::ScriptLineNotEcho:
        return scriptLine(v, W::tr("is not the line that says %1 is restored").arg(v[2]));
    case Code::ScriptRestoresOther:
        return W::tr("it stands beside %1 but restores %2, not %3").arg(v[0], v[1], v[2]);
    case Code::ScriptDisagreesWithList:
        return W::tr("%1 joins %2, but %3 lists %4").arg(v[0], piecesText(v.number(1)), v[2], v[3]);
    case Code::ListOmitsPieceBeside:
        return W::tr("it lists %1, but %2 stands beside them too, so the pieces were not checked "
                     "against it")
            .arg(piecesText(v.number(0)), v[1]);
    case Code::MissingThoughLaterThere:
        return W::tr("this piece is missing, though %1 is there").arg(v[0]);
    case Code::ChosenLaterPiece:
        return W::tr("it is a piece; choose the restore script, the checksum list or the first "
                     "piece (the one whose name ends in .1)");
    case Code::ChooseListScriptOrFirst:
        return W::tr("choose the checksum list, the restore script or the first piece (the one "
                     "whose name ends in .1)");

    case Code::ListTooLarge:
        return W::tr("it is larger than any checksum list of a split, so the pieces were not "
                     "checked against it");
    case Code::ListHasNoWholeLine:
        return W::tr("it has no line for %1, so it cannot tell whether the pieces make that file")
            .arg(v[0]);
    case Code::ListHasNoPieces:
        return W::tr("it names no pieces of %1, so there is nothing to check").arg(v[0]);
    case Code::ListSkipsPiece:
        return W::tr("it has no line for %1, though it lists %2").arg(v[0], v[1]);
    case Code::ListLineTooLong:
        return listLine(v, W::tr("is longer than any line of a checksum list"));
    case Code::ListLineNotDigest:
        return listLine(v, W::tr("is not a SHA-256 digest and a name"));
    case Code::ListLineNamesOther:
        return listLine(
            v, W::tr("names %1, which is neither %2 nor one of its pieces").arg(v[2], v[3]));
    case Code::ListLineRepeats:
        return listLine(v, W::tr("names %1 a second time").arg(v[2]));
    case Code::TwoListsBeside:
        return W::tr("it and %1 are both a checksum list of %2; Tessary cannot tell which one to "
                     "trust")
            .arg(v[0], v[1]);
    case Code::NoListToCheck:
        return W::tr("no checksum list (%1) stands beside it, so there is nothing to check the "
                     "pieces against")
            .arg(v[0]);

    case Code::PieceMissing:
        return W::tr("this piece is missing");
    case Code::PieceIsLink:
        return W::tr("it is a symbolic link; Tessary joins only the pieces themselves");
    case Code::PieceNotAFile:
        return W::tr("it is %1, not a piece").arg(v[0]);
    case Code::PieceSameAs:
        return W::tr("it is the same file as %1 (a hard link), not a piece of its own").arg(v[0]);
    case Code::PieceIsTheScript:
        return W::tr("it is the restore script itself, not a piece");
    case Code::NoScriptDeclined:
        return W::tr("no restore script stands beside it, and the join was not started");
    case Code::OddPieceDamaged:
        return W::tr("holds %1 bytes, but %2 holds %3: a piece is damaged").arg(v[0], v[1], v[2]);
    case Code::OddPieceDeclined:
        return W::tr("its length is not that of a piece of this split, and the join was stopped");
    case Code::DestinationIsScript:
        return W::tr("it is the restore script being read, which a split never names after the "
                     "file it restores");
    case Code::DestinationNotAFile:
        return W::tr("it is %1, which a join never replaces").arg(v[0]);
    case Code::DestinationIsPiece:
        return W::tr("it is one of its own pieces");
    case Code::ReplaceDeclined:
        return W::tr("it exists, and was not replaced");
    case Code::AnotherRunJoins:
        return W::tr("another Tessary run is writing %1 or its pieces there").arg(v[0]);
    case Code::JoinNeedsSpace:
        return W::tr("the joined file needs %1 of free space there, but only %2 is free")
            .arg(v[0], v[1]);
    case Code::JoinNeedsFile:
        return W::tr("the joined file needs a new file there, but no more can be made");
    case Code::CutShortWhileJoined:
        return W::tr("it was cut short while it was joined");
    case Code::PieceDamaged:
        return W::tr("is damaged: its SHA-256 does not match %1").arg(v[0]);
    case Code::JoinedWouldDiffer:
        return W::tr("would not be the file that was split: its SHA-256 does not match %1")
            .arg(v[0]);

    case Code::Par2ArgumentsTooLong:
        return W::tr("the names of its %1 pieces are too long together to be handed to the par2 "
                     "program; fewer pieces or a shorter name would do")
            .arg(v[0]);
    case Code::TooManyPiecesForRecovery:
        return W::tr("it would be cut into %1 pieces, more than the %2 that recovery files can "
                     "cover")
            .arg(v[0], v[1]);
    case Code::RecoveryTooLargeForVolume:
        return W::tr("its recovery files would not fit the output folder's file system");
    case Code::Par2CouldNotRead:
        return W::tr("the par2 program could not read the recovery files: %1").arg(v.said(0));
    case Code::Par2CouldNotMake:
        return W::tr("the par2 program could not make the recovery files: %1").arg(v.said(0));
    case Code::Par2DidNotMake:
        return W::tr("the par2 program did not make this recovery file");
    case Code::Par2MadeUnasked:
        return W::tr("the par2 program made this file, which Tessary did not ask for, so no "
                     "recovery file was kept");
    case Code::ChangedWhileRebuilt:
        return W::tr("it changed while it was rebuilt");
    case Code::RebuildWillNotReplace:
        return W::tr("it is %1, which Tessary will not replace with a rebuilt piece").arg(v[0]);
    case Code::RebuildNeedsSpace:
        return W::tr("the rebuilt pieces need %1 of free space there, but only %2 is free")
            .arg(v[0], v[1]);
    case Code::NoSymbolicLinks:
        return W::tr("its file system has no symbolic links, which Tessary needs to rebuild "
                     "pieces there safely; copy the pieces and recovery files to another disk, "
                     "or run par2 repair %1 there")
            .arg(v[0]);
    case Code::Par2DidNotRebuild:
        return W::tr("the par2 program did not rebuild it");
    case Code::RebuiltDoesNotMatch:
        return W::tr("the par2 program rebuilt it, but it does not match %1").arg(v[0]);
    case Code::Par2CouldNotRebuild:
        return W::tr("the par2 program could not rebuild the pieces: %1").arg(v.said(0));
    case Code::NoRecoveryFileBeside:
        return W::tr("no recovery file of %1 stands beside its pieces").arg(v[0]);
    case Code::CannotRebuild:
        return cannotRebuild(v);
    }
    return {};
}
