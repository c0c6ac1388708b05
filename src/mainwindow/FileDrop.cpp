#include "FileDrop.h"
#include "MainWindowText.h"

#include <QCoreApplication>
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
    return ::leftOutMessage(
        {leftOutFolders(folders.size()),
         {notLocal, MainWindowText::tr("1 item"), MainWindowText::tr("%1 items"),
          MainWindowText::tr(" not on this computer's drives")}},
        files.size(), MainWindowText::tr("items dropped"));
}

LeftOut leftOutFolders(qsizetype count) {
    return {count, MainWindowText::tr("1 folder"), MainWindowText::tr("%1 folders"),
            MainWindowText::tr(": only files can be split; open the folder to add its files")};
}

QString leftOutMessage(const QList<LeftOut> &reasons, qsizetype added, const QString &given) {
    qsizetype leftOut = 0;
    QStringList lines;
    for (const LeftOut &reason : reasons) {
        if (reason.count == 0)
            continue;
        leftOut += reason.count;
        lines << (reason.count == 1 ? reason.one : reason.many.arg(reason.count)) + reason.why;
    }
    if (leftOut == 0)
        return {};
    return MainWindowText::tr("%1 of the %2 %3 %4 not added to the files to convert:\n\n%5")
        .arg(leftOut)
        .arg(leftOut + added)
        .arg(given, leftOut == 1 ? MainWindowText::tr("was") : MainWindowText::tr("were"),
             lines.join(u'\n'));
}
