#include "LoopMount.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

LoopMount::LoopMount(const QString &type, const QStringList &mkfsOptions, qint64 bytes) {
    const QString mkfs = QStandardPaths::findExecutable(
        QStringLiteral("mkfs.") + type, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    const QString image = m_folder.filePath(type + QStringLiteral(".img"));
    QFile file(image);
    if (::geteuid() != 0)
        m_skipReason = QStringLiteral("mounting a %1 image needs root").arg(type);
    else if (mkfs.isEmpty())
        m_skipReason = QStringLiteral("mkfs.%1 is not installed").arg(type);
    else if (!file.open(QIODevice::WriteOnly) || !file.resize(bytes) || !QDir().mkpath(path()))
        m_skipReason = QStringLiteral("cannot make the image ") + image;
    else if (m_skipReason = programFailure(mkfs, QStringList(mkfsOptions) << image);
             m_skipReason.isEmpty())
        m_skipReason = programFailure(
            QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), image, path()});
}

LoopMount::~LoopMount() {
    // A volume still busy goes once the last file open on it is closed.
    if (isMounted() && QProcess::execute(QStringLiteral("umount"), {path()}) != 0)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("--lazy"), path()});
}
