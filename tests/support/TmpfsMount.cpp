#include "TmpfsMount.h"

#include <QProcess>
#include <QStringList>

#include <unistd.h>

TmpfsMount::TmpfsMount(const QString &size, const QString &options) {
    if (::geteuid() != 0) {
        m_skipReason = QStringLiteral("mounting a small file system needs root");
        return;
    }
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=") + size + (options.isEmpty() ? QString() : u',' + options),
                 QStringLiteral("tmpfs"), m_folder.path()});
    m_mounted = mount.waitForFinished() && mount.exitStatus() == QProcess::NormalExit &&
                mount.exitCode() == 0;
    if (!m_mounted)
        m_skipReason = QStringLiteral("this machine does not let the test mount a tmpfs: ") +
                       QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
}

TmpfsMount::~TmpfsMount() {
    unmount();
}

bool TmpfsMount::unmount() {
    if (m_mounted && QProcess::execute(QStringLiteral("umount"), {m_folder.path()}) == 0)
        m_mounted = false;
    return !m_mounted;
}
