#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A volume made by mkfs.TYPE in a sparse image in a temporary folder and mounted there through a
// loop device (which goes with the mount) for a test's length, where the kernel's own btrfs or
// XFS is under test. Needs root and mkfs.TYPE; skipReason() says why not, for QSKIP.
class LoopMount {
public:
    LoopMount(const QString &type, const QStringList &mkfsOptions, qint64 bytes);
    ~LoopMount();
    LoopMount(const LoopMount &) = delete;
    LoopMount &operator=(const LoopMount &) = delete;

    bool isMounted() const { return m_skipReason.isEmpty(); }
    const QString &skipReason() const { return m_skipReason; }
    QString path() const { return m_folder.filePath(QStringLiteral("volume")); }

private:
    QTemporaryDir m_folder;
    QString m_skipReason;
};
