#include "messages/EndNotices.h"

#include "OutputFolder.h"
#include "join/JoinPlan.h"
#include "split/SplitPlan.h"
#include "verify/Verify.h"
#include "words/MessageText.h"

#include "PluralCount.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <algorithm>

namespace EndNotices {

namespace {

class NoticeText {
    Q_DECLARE_TR_FUNCTIONS(EndNotices)
};

// The folder as its owner calls it: "USB STICK" for /media/alex/USB STICK.
QString folderName(const QString &path) {
    const QString name = QDir(path).dirName();
    return printable(name.isEmpty() || name == u"." ? QDir::toNativeSeparators(path) : name);
}

qsizetype countOf(const VerifyResult &result, VerifyResult::Status status) {
    return std::count_if(
        result.pieces.cbegin(), result.pieces.cend(),
        [status](const VerifyResult::Entry &piece) { return piece.status == status; });
}

} // namespace

EndNotice split(const SplitPlan &plan, const SplitResult &result) {
    const QString folder = plan.folder->path();
    if (result.outcome != RunOutcome::Done || plan.files.isEmpty())
        return {{}, folder};
    qint64 pieces = 0;
    for (const PlannedFile &file : plan.files)
        pieces += file.pieces;
    const QString what = plan.files.size() == 1
                             ? printable(plan.files.first().names.fileName())
                             : NoticeText::tr("%n files", nullptr, pluralCount(plan.files.size()));
    return {
        NoticeText::tr("%1: %2 written to %3").arg(what, piecesText(pieces), folderName(folder)),
        folder};
}

EndNotice join(const JoinPlan &plan, const JoinResult &result) {
    const QString folder = plan.folder->path();
    if (result.outcome != RunOutcome::Done)
        return {{}, folder};
    return {NoticeText::tr("%1 restored in %2")
                .arg(printable(plan.recipe.destination), folderName(folder)),
            folder};
}

EndNotice verify(const VerifyPlan &plan, const VerifyResult &result) {
    const QString folder = plan.folder->path();
    if (result.outcome != RunOutcome::Done)
        return {{}, folder};
    const QString file = printable(plan.names.fileName());
    const qsizetype pieces = result.pieces.size();
    if (result.allMatch())
        return {NoticeText::tr("%1: all %n pieces match", nullptr, pluralCount(pieces)).arg(file),
                folder};
    QStringList wrong;
    if (const qsizetype damaged = countOf(result, VerifyResult::Status::Damaged))
        wrong << NoticeText::tr("%n pieces damaged", nullptr, pluralCount(damaged));
    if (const qsizetype missing = countOf(result, VerifyResult::Status::Missing))
        wrong << NoticeText::tr("%n pieces missing", nullptr, pluralCount(missing));
    if (wrong.isEmpty()) // every piece whole, the joined file or a recovery file not
        return {{}, folder};
    return {file + QStringLiteral(": ") + wrong.join(QStringLiteral(", ")), folder};
}

} // namespace EndNotices
