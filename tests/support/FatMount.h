#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A small FAT32 volume of its own, mounted through a FUSE driver on a temporary folder for a
// test's length: a file system that ends files at 4 GiB - 1 and does not tell names apart by
// case. Needs root, /dev/fuse and the Debian packages dosfstools and fusefat.
class FatMount {
public:
    FatMount();
    ~FatMount();
    FatMount(const FatMount &) = delete;
    FatMount &operator=(const FatMount &) = delete;

    bool isMounted() const { return m_mounted; }
    // Why it is not mounted, for QSKIP.
    const QString &skipReason() const { return m_skipReason; }
    QString path() const { return m_folder.filePath(QStringLiteral("volume")); }
    QString filePath(const QString &name) const;
    // The files in its root, by name, but for what FUSE keeps of a file removed while open (a
    // run's lock): it goes once the driver hears of the close, which may come after close().
    QStringList files() const;

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_skipReason;
};
