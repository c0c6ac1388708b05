#include "FileDrop.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

FileDrop::FileDrop(const QMimeData *data) {
    if (!data->hasUrls())
        return;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile()) {
            ++notLocal;
            continue;
        }
        const QString path = QDir::toNativeSeparators(url.toLocalFile());
        // A file that is not there (or whose name cannot be read) is queued all the same:
        // the split's check says what is wrong with it.
        (QFileInfo(path).isDir() ? folders : files).append(path);
    }
}

QString FileDrop::onlyFolder() const {
    return folders.size() == 1 && files.isEmpty() && notLocal == 0 ? folders.first() : QString();
}

QString FileDrop::leftOutMessage() const {
    const qsizetype leftOut = folders.size() + notLocal;
    if (leftOut == 0)
        return {};
    QStringList reasons;
    if (!folders.isEmpty())
        reasons << (folders.size() == 1 ? QStringLiteral("1 folder")
                                        : QStringLiteral("%1 folders").arg(folders.size())) +
                       QStringLiteral(": only files can be split; open the folder to add its "
                                      "files");
    if (notLocal > 0)
        reasons << (notLocal == 1 ? QStringLiteral("1 item")
                                  : QStringLiteral("%1 items").arg(notLocal)) +
                       QStringLiteral(" not on this computer's drives");
    return QStringLiteral("%1 of the %2 items dropped %3 not added to the files to convert:\n\n%4")
        .arg(leftOut)
        .arg(leftOut + files.size())
        .arg(leftOut == 1 ? QStringLiteral("was") : QStringLiteral("were"), reasons.join(u'\n'));
}
