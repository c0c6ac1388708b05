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
