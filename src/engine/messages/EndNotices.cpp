#include "messages/EndNotices.h"

#include "OutputFolder.h"
#include "join/JoinPlan.h"
#include "remote/RemoteSplitPlan.h"
#include "remote/RemoteSplitRun.h"
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

// "holiday.iso: 5 pieces written to where", of the files a split wrote (PlannedFile or
// RemotePlannedFile).
template <typename File> QString piecesWritten(const QList<File> &files, const QString &where) {
    qint64 pieces = 0;
    for (const File &file : files)
        pieces += file.pieces;
    const QString what = files.size() == 1
                             ? printable(files.first().names.fileName())
                             : NoticeText::tr("%n files", nullptr, pluralCount(files.size()));
    return NoticeText::tr("%1: %2 written to %3").arg(what, piecesText(pieces), where);
}

} // namespace

EndNotice split(const SplitPlan &plan, const SplitResult &result) {
    const QString folder = plan.folder->path();
    if (result.outcome != RunOutcome::Done || plan.files.isEmpty())
        return {{}, folder};
    return {piecesWritten(plan.files, folderName(folder)), folder};
}

EndNotice split(const RemoteSplitPlan &plan, const RemoteSplitResult &result) {
    if (result.outcome != RunOutcome::Done || plan.files.isEmpty())
        return {};
    return {piecesWritten(plan.files, printable(plan.folder.path().text())), {}};
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
