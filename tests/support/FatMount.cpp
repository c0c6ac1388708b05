#include "FatMount.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <unistd.h>

FatMount::FatMount() {
    if (::geteuid() != 0) {
        m_skipReason = QStringLiteral("mounting a FAT volume needs root");
        return;
    }
    for (const char *program : {"mkfs.vfat", "fusefat"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty() &&
            QStandardPaths::findExecutable(QString::fromLatin1(program),
                                           {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                .isEmpty()) {
            m_skipReason = QStringLiteral("%1 is not installed").arg(QLatin1StringView(program));
            return;
        }
    }
    if (!QFile::exists(QStringLiteral("/dev/fuse"))) {
        m_skipReason = QStringLiteral("this machine has no /dev/fuse");
        return;
    }
    const QString image = m_folder.filePath(QStringLiteral("fat.img"));
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64(40) << 20)) {
        m_skipReason = QStringLiteral("cannot make the volume's image");
        return;
    }
    file.close();
    QDir().mkpath(path());
    QString failure = programFailure(QStringLiteral("mkfs.vfat"),
                                     {QStringLiteral("-F"), QStringLiteral("32"), image});
    if (failure.isEmpty())
        failure = programFailure(QStringLiteral("fusefat"),
                                 {QStringLiteral("-o"), QStringLiteral("rw+"), image, path()});
    m_mounted = failure.isEmpty();
    m_skipReason = failure;
}

FatMount::~FatMount() {
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {path()});
}

QString FatMount::filePath(const QString &name) const {
    return QDir(path()).filePath(name);
}

QStringList FatMount::files() const {
    QStringList names = filesIn(path());
    names.removeIf([](const QString &name) { return name.startsWith(u".fuse_hidden"); });
    return names;
}
