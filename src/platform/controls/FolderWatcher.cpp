#include "FolderWatcher.h"

#include <chrono>

namespace {

// A program writing many files at once sends a notice for each; one re-read does for all.
constexpr std::chrono::milliseconds kSettleTime{50};

} // namespace

FolderWatcher::FolderWatcher(QObject *parent)
    : QObject(parent) {
    m_settling.setSingleShot(true);
    m_settling.setInterval(kSettleTime);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settling,
            qOverload<>(&QTimer::start));
    connect(&m_settling, &QTimer::timeout, this, &FolderWatcher::changed);
}

void FolderWatcher::watch(const QString &folder) {
    const QStringList watched = m_watcher.directories();
    if (watched == QStringList{folder})
        return;
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    m_watcher.addPath(folder);
}
