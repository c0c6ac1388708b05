#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Watches one folder through the system's change notices (no polling) and says so, once a
// burst of changes has settled, when what it holds changes or it goes away.
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    explicit FolderWatcher(QObject *parent = nullptr);

    // Watches folder instead of the one watched so far.
    void watch(const QString &folder);

Q_SIGNALS:
    void changed();

private:
    QFileSystemWatcher m_watcher;
    QTimer m_settling;
};
