#include "text/RefusalText.h"

#include "text/ByteCounts.h"
#include "text/MessageText.h"

#include "PluralCount.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

class RefusalText {
    Q_DECLARE_TR_FUNCTIONS(Refusal)
};

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString refusalMessage(const std::vector<Failure> &refusals, qsizetype shownAtMost) {
    QStringList lines;
    for (const Failure &refusal : refusals)
        lines << printable(QStringLiteral("\u2022 ") +
                           native(QDir::cleanPath(QDir::fromNativeSeparators(refusal.path()))) +
                           QStringLiteral(": ") + refusal.reason());
    return RefusalText::tr("The split was not started:\n\n%1\n\nNothing was written.")
        .arg(listedAtMost(lines, shownAtMost));
}

namespace RefusalReason {

QString name(const NameProblem &problem) {
    switch (problem.kind) {
    case NameProblem::Kind::DoubleQuote:
        return RefusalText::tr("its name holds a double quote, which no restore script can hold");
    case NameProblem::Kind::ControlCharacter:
        return RefusalText::tr("its name holds a control character (%1), which no restore script "
                               "can hold")
            .arg(codePoint(problem.detail.front()));
    case NameProblem::Kind::Wildcard:
        return RefusalText::tr("its name holds \"%1\", a wildcard to the Windows command shell, so "
                               "the restore script could join other files")
            .arg(problem.detail);
    case NameProblem::Kind::NotAllowed:
        return RefusalText::tr("its name holds \"%1\", which Windows does not allow in a file name")
            .arg(problem.detail);
    case NameProblem::Kind::TrailingBlank:
        return RefusalText::tr("its name ends with a blank, which Windows drops from file names");
    case NameProblem::Kind::TrailingDot:
        return RefusalText::tr("its name ends with a dot, which Windows drops from file names");
    case NameProblem::Kind::DeviceName:
        break;
    }
    return RefusalText::tr("\"%1\" is a device name on Windows, so its pieces and restore script "
                           "could not be used there")
        .arg(problem.detail);
}

QString nameNotUtf8() {
    return RefusalText::tr("its name is not valid UTF-8, so it cannot stand in a restore script");
}

QString sameNamesAs(const QString &earlierPath) {
    return RefusalText::tr("its pieces and restore script would take the same names as those of "
                           "%1, which is queued before it")
        .arg(native(earlierPath));
}

namespace {

QString problemText(const OutputProblem &problem) {
    switch (problem.kind) {
    case OutputProblem::Kind::QueuedSource:
        if (problem.detail.isEmpty())
            return RefusalText::tr("is itself queued to be split");
        return RefusalText::tr("would take the name of %1, which is queued to be split: Windows "
                               "does not tell the two names apart")
            .arg(native(problem.detail));
    case OutputProblem::Kind::HardLinkOf:
        return RefusalText::tr("is another name (a hard link) of %1, which is queued to be split")
            .arg(native(problem.detail));
    case OutputProblem::Kind::SymbolicLink:
        return RefusalText::tr("is a symbolic link, which Tessary never writes through");
    case OutputProblem::Kind::NotRegular:
        return RefusalText::tr("is %1, not a regular file").arg(describeKind(problem.fileKind));
    case OutputProblem::Kind::OtherNames:
        return RefusalText::tr("has other names (hard links), which writing it would change too");
    case OutputProblem::Kind::CaseTwin:
        return RefusalText::tr("would take the name of %1 once on Windows, which does not tell "
                               "the two names apart")
            .arg(native(problem.detail));
    case OutputProblem::Kind::NotWritable:
        break;
    }
    return RefusalText::tr("exists, and Tessary may not write it");
}

QString role(OutputNames::Kind kind) {
    switch (kind) {
    case OutputNames::Kind::Piece:
        return RefusalText::tr("piece");
    case OutputNames::Kind::Script:
        return RefusalText::tr("restore script");
    case OutputNames::Kind::PosixScript:
        return RefusalText::tr("macOS and Linux restore script");
    case OutputNames::Kind::Recovery:
        return RefusalText::tr("recovery file");
    case OutputNames::Kind::Checksums:
        break;
    }
    return RefusalText::tr("checksum list");
}

} // namespace

QString output(OutputNames::Kind kind, const QString &path, const OutputProblem &problem) {
    return RefusalText::tr("its %1 %2 %3").arg(role(kind), native(path), problemText(problem));
}

QString notOurs(OutputNames::Kind kind, const QString &path, const QString &fileName) {
    return RefusalText::tr("its %1 %2 is not a %1 of %3's pieces; Tessary will not replace it")
        .arg(role(kind), native(path), fileName);
}

QString unnamedPiece(const QString &path, const OutputNames &names) {
    return RefusalText::tr("a file stands at its piece's name %1, and no restore script or "
                           "checksum list of %2 beside it names that piece: it may be a file of "
                           "your own (a rotated log, say); Tessary will not replace it")
        .arg(native(path), names.fileName());
}

QString anotherRun(const QString &fileName) {
    return RefusalText::tr("another Tessary run is writing %1's pieces there").arg(fileName);
}

QString latePiece(const OutputProblem &problem) {
    return RefusalText::tr("it %1").arg(problemText(problem));
}

QString outputNotExamined(const QString &path, const QString &reason) {
    return RefusalText::tr("%1 cannot be examined: %2").arg(native(path), reason);
}

QString nameTooLong(const QString &name, qint64 bytes, qint64 nameMax) {
    return RefusalText::tr("the name %1 would take %2 bytes, more than the %3 that the output "
                           "folder's file system allows in a name",
                           nullptr, pluralCount(bytes))
        .arg(name)
        .arg(bytes)
        .arg(nameMax);
}

QString pathTooLong(const QString &name, qint64 bytes, qint64 pathMax) {
    return RefusalText::tr("the name %1 would take a path of %2 bytes, more than the %3 that the "
                           "system allows",
                           nullptr, pluralCount(bytes))
        .arg(name)
        .arg(bytes)
        .arg(pathMax);
}

QString folderNotWritable() {
    return RefusalText::tr("Tessary may not make files in this folder");
}

QString folderRemoved() {
    return RefusalText::tr("this folder has been removed");
}

QString notEnoughSpace(qint64 needed, qint64 free) {
    return RefusalText::tr("the split needs %1 of free space there, but only %2 is free")
        .arg(bytesText(needed), bytesText(free));
}

QString notEnoughFiles(qint64 needed, qint64 free) {
    const QLocale locale;
    return RefusalText::tr("the split needs %1 new files there, but only %2 more can be made",
                           nullptr, pluralCount(needed))
        .arg(locale.toString(needed), locale.toString(free));
}

QString pieceTooLarge(qint64 largestFile, qint64 piece) {
    return RefusalText::tr("its file system holds files of at most %1, smaller than the %2 pieces")
        .arg(bytesTextPrecise(largestFile), bytesTextPrecise(piece));
}

QString notInPieces(qint64 bytes, qint64 pieces) {
    if (bytes < pieces)
        return RefusalText::tr("it holds %1, fewer than the %2 asked for")
            .arg(byteCountText(bytes), piecesText(pieces));
    return RefusalText::tr("it holds %1, which cannot be cut into %2 of one length (the last no "
                           "longer)")
        .arg(byteCountText(bytes), piecesText(pieces));
}

} // namespace RefusalReason
