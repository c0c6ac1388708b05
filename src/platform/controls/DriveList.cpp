#include "DriveList.h"

#include "MountWatcher.h"
#include "Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>

namespace {

bool isPseudoFileSystem(const QStorageInfo &volume) {
    static const QSet<QByteArray> pseudo{
        "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2", "configfs",
        "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",     "nsfs",        "proc",     "pstore",   "ramfs",   "rpc_pipefs",
        "securityfs", "squashfs",    "sysfs",    "tracefs",  "overlay"};
    if (pseudo.contains(volume.fileSystemType()))
        return true;
    // System folders hold no user files, whatever file system is mounted there (tmpfs at
    // /run and /dev/shm, for one); removable drives are mounted under /run/media on some
    // desktops.
    const QString root = volume.rootPath();
    if (root.startsWith(QStringLiteral("/run/media/")))
        return false;
    for (const QString &folder :
         {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"),
          QStringLiteral("/run"), QStringLiteral("/snap"), QStringLiteral("/boot")}) {
        if (root == folder || root.startsWith(folder + u'/'))
            return true;
    }
    return false;
}

// The volume's label, or else the name of its device, so that each entry says which it is.
QString volumeName(const QStorageInfo &volume) {
    if (!volume.name().isEmpty())
        return volume.name();
    return QFileInfo(QString::fromLocal8Bit(volume.device())).fileName();
}

bool holds(const QString &root, const QString &path) {
    return withTrailingSeparator(path).startsWith(root);
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
    connect(new MountWatcher(this), &MountWatcher::mountsChanged, this, &DriveList::followMounts);
    setDrives(mountedDrives());
}

void DriveList::followMounts() {
    const QString current = drive();
    setDrives(mountedDrives());
    const int stillThere = findData(current);
    if (stillThere < 0) {
        Q_EMIT driveChanged(); // now on the root volume
        return;
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(stillThere);
}

QList<DriveList::Drive> DriveList::mountedDrives() {
    QList<Drive> drives;
    const QStorageInfo rootVolume = QStorageInfo::root();
    drives.append({withTrailingSeparator(rootVolume.rootPath()), volumeName(rootVolume)});
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo &a, const QStorageInfo &b) {
        return a.rootPath() < b.rootPath();
    });
    for (const QStorageInfo &volume : volumes) {
        if (volume.isValid() && !volume.isRoot() && !isPseudoFileSystem(volume))
            drives.append({withTrailingSeparator(volume.rootPath()), volumeName(volume)});
    }
    return drives;
}

void DriveList::setDrives(const QList<Drive> &drives) {
    const QSignalBlocker quiet(this);
    clear();
    for (const Drive &drive : drives) {
        const QString text =
            drive.name.isEmpty() ? drive.root : tr("%1 [%2]").arg(drive.root, drive.name);
        addItem(text, drive.root);
    }
    setCurrentIndex(drives.isEmpty() ? -1 : 0);
}

QString DriveList::drive() const {
    return currentData().toString();
}

void DriveList::setDrive(const QString &path) {
    // The longest root that holds the path is the volume it is on.
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (holds(root, path) && (best < 0 || root.size() > itemData(best).toString().size()))
            best = i;
    }
    if (best < 0)
        best = findData(withTrailingSeparator(QDir::rootPath()));
    if (best >= 0)
        setCurrentIndex(best);
}
