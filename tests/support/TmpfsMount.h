#pragma once

#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs) mounted on a temporary folder for a test's length,
// to run a disk full. Mounting needs root, and a machine that allows it.
class TmpfsMount {
public:
    // As mount takes them: "64k", "1m"; options such as "nr_inodes=40".
    explicit TmpfsMount(const QString &size, const QString &options = {});
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    bool isMounted() const { return m_mounted; }
    // Unmounts it now; returns whether that worked.
    bool unmount();
    // Why it is not mounted, for QSKIP.
    const QString &skipReason() const { return m_skipReason; }
    QString path() const { return m_folder.path(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_skipReason;
};
