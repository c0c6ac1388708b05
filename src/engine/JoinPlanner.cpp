#include "JoinPlan.h"

#include "ByteCounts.h"
#include "OutputFolder.h"
#include "OutputNames.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Every piece must be there, and be a file that can be read.
void examinePieces(JoinPlan &plan, QSet<FileIdentity> &identities) {
    const OutputNames names(plan.recipe.destination);
    QByteArray name;
    for (qint64 piece = 1; piece <= plan.recipe.pieceCount; ++piece) {
        names.setPieceOnDisk(name, piece);
        const FileFacts facts = plan.folder->factsFollowingLinks(name);
        if (facts.kind == FileKind::Missing)
            throw FileError(plan.folder->filePath(name), QStringLiteral("this piece is missing"));
        if (facts.kind != FileKind::Regular)
            throw FileError(plan.folder->filePath(name),
                            QStringLiteral("it is %1, not a piece").arg(describeKind(facts.kind)));
        plan.pieceLengths.append(facts.size);
        identities.insert(facts.identity);
        plan.totalBytes += facts.size;
    }
}

// The first piece whose length no split gives (all but the last as long as the first, the
// last no longer), or 0.
qint64 oddPiece(const QList<qint64> &lengths) {
    for (qsizetype i = 1; i < lengths.size(); ++i) {
        const bool last = i + 1 == lengths.size();
        if (last ? lengths[i] > lengths[0] : lengths[i] != lengths[0])
            return i + 1;
    }
    return 0;
}

void askAboutOddPiece(const JoinPlan &plan, JoinQuestions &questions) {
    const qint64 odd = oddPiece(plan.pieceLengths);
    if (odd == 0)
        return;
    const OutputNames names(plan.recipe.destination);
    const QString oddPath = native(plan.folder->filePath(names.pieceOnDisk(odd)));
    const QString firstPath = native(plan.folder->filePath(names.pieceOnDisk(1)));
    const QLocale locale;
    if (!questions.askYesNo(
            QStringLiteral("%1 holds %2 bytes, but %3 holds %4. In a split every piece but the "
                           "last holds as many bytes as the first, and the last no more: a piece "
                           "may be damaged, or come from another split.\n\nJoin the pieces all "
                           "the same?")
                .arg(oddPath, locale.toString(plan.pieceLengths[odd - 1]), firstPath,
                     locale.toString(plan.pieceLengths[0]))))
        throw JoinDeclined(oddPath, QStringLiteral("its length is not that of a piece of this "
                                                   "split, and the join was stopped"));
}

void checkDestination(const JoinPlan &plan, const QSet<FileIdentity> &pieces,
                      JoinQuestions &questions) {
    const OutputFolder &folder = *plan.folder;
    const QByteArray destination = fileSystemName(plan.recipe.destination);
    const QString destinationPath = native(folder.filePath(destination));
    const FileFacts existing = folder.facts(destination);
    if (existing.kind == FileKind::Missing)
        return;
    if (existing.kind != FileKind::Regular && existing.kind != FileKind::SymbolicLink)
        throw FileError(destinationPath, QStringLiteral("it is %1, which a join never replaces")
                                             .arg(describeKind(existing.kind)));
    if (existing.kind == FileKind::Regular && pieces.contains(existing.identity))
        throw FileError(destinationPath, QStringLiteral("it is one of its own pieces"));
    const QByteArray chosen = fileSystemName(QFileInfo(plan.recipe.script).fileName());
    if (existing.kind == FileKind::Regular &&
        folder.factsFollowingLinks(chosen).identity == existing.identity)
        throw FileError(destinationPath,
                        QStringLiteral("it is the restore script being read, which a split never "
                                       "names after the file it restores"));
    if (!questions.askYesNo(QStringLiteral("%1 exists already.\n\nReplace it with the file "
                                           "joined from its pieces?")
                                .arg(destinationPath)))
        throw JoinDeclined(destinationPath, QStringLiteral("it exists, and was not replaced"));
}

} // namespace

JoinPlan::JoinPlan() = default;
JoinPlan::JoinPlan(JoinPlan &&) noexcept = default;
JoinPlan &JoinPlan::operator=(JoinPlan &&) noexcept = default;
JoinPlan::~JoinPlan() = default;

JoinPlan planJoin(const QString &chosen, JoinQuestions &questions) {
    JoinPlan plan;
    plan.recipe = joinRecipeFor(chosen);
    plan.folder = std::make_unique<OutputFolder>(plan.recipe.folder);
    QSet<FileIdentity> identities;
    examinePieces(plan, identities);
    askAboutOddPiece(plan, questions);
    checkDestination(plan, identities, questions);
    const qint64 freeBytes = plan.folder->capacity().freeBytes;
    if (plan.totalBytes > freeBytes)
        throw FileError(native(plan.recipe.folder),
                        QStringLiteral("the joined file needs %1 of free space there, but only %2 "
                                       "is free")
                            .arg(bytesText(plan.totalBytes), bytesText(freeBytes)));
    return plan;
}
