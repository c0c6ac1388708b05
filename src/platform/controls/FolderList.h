#pragma once

#include "FolderWatcher.h"

#include <QListWidget>
#include <QString>

// A folder browser in the classic style: the chain of folders from the root down to the
// current one, then its subfolders. A folder opens on double click or Enter. The list follows
// the disk: subfolders made or removed while it is shown appear or go, and a current folder
// that goes away gives way to its nearest existing parent.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr); // starts at the process's current folder

    // Native separators, no trailing separator except at a root.
    QString path() const { return m_path; }

    // Shows the folder at path, reading it again even when it is the one on show, and emits
    // pathChanged. A folder that no longer exists gives way to its nearest existing parent.
    void setPath(const QString &path);

Q_SIGNALS:
    void pathChanged();

private:
    void load(const QString &path);
    void refresh();
    void addFolder(const QString &path, const QString &text, int depth, bool open);

    QString m_path;
    FolderWatcher *m_watcher;
};
