#pragma once

#include <QString>
#include <QStringList>

// What a command line brings to queue, sorted as a drop is: files are queued as Add File queues
// them; folders, names of nothing, and anything but a file (a device, a FIFO) are left out.
struct FileArguments {
    QStringList files; // native absolute paths, in the order given
    qsizetype folders = 0;
    qsizetype missing = 0;
    qsizetype others = 0;

    explicit FileArguments(const QStringList &paths);

    // What was left out and why; empty when nothing was.
    QString leftOutMessage() const;
};
