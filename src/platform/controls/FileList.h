#pragma once

#include "FolderWatcher.h"

#include <QListWidget>
#include <QString>

// The files of one folder, by name; hidden files stay hidden, as the platform hides them. The
// list follows the disk: files made or removed while it is shown appear or go, and the
// selection stays on the same name while that file is there.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString &folder);

    // Name of the selected file, empty when none is selected.
    QString selectedFileName() const;

private:
    void load();
    void refresh();

    QString m_path;
    FolderWatcher *m_watcher;
};
