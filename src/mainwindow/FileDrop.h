#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// What a drop from a file manager brings, sorted: local files are queued, local folders can
// name the output folder, and anything else (a web address, say) is left out.
struct FileDrop {
    QStringList files;   // native paths, in the order dropped
    QStringList folders; // native paths, in the order dropped
    int notLocal = 0;

    explicit FileDrop(const QMimeData *data);

    // The one folder a drop on the output browser may bring, or an empty string.
    QString onlyFolder() const;
    // For a drop that queues files: what was left out and why; empty when nothing was.
    QString leftOutMessage() const;
};

// "2 of the 4 items dropped were not added to the files to convert:" and the reasons, one a
// line ("1 folder: only files can be split; ..."); empty when nothing was left out.
// counted: how many of what each reason concerns.
struct LeftOut {
    qsizetype count;
    QString one;  // "1 folder"
    QString many; // "%1 folders"
    QString why;  // ": only files can be split; ..."
};
QString leftOutMessage(const QList<LeftOut> &reasons, qsizetype added, const QString &given);

// The reason a folder is never queued, the same for a drop and a command line.
LeftOut leftOutFolders(qsizetype count);
