#include "FileSystemObject.h"

#include <QDir>
#include <QStorageInfo>

#include <utility>

namespace Scripting {

namespace {

FileSystemObject::ReadinessProbe &readinessProbe() {
    static FileSystemObject::ReadinessProbe probe;
    return probe;
}

} // namespace

Drive::Drive(QString root)
    : m_root(std::move(root)) {}

bool Drive::IsReady() const {
    if (readinessProbe())
        return readinessProbe()(m_root);
    // A root whose volume has gone is a plain folder of another volume: not this drive.
    const QStorageInfo volume(m_root);
    return volume.isValid() && volume.isReady() && QDir(volume.rootPath()) == QDir(m_root);
}

FileSystemObject::ReadinessProbe FileSystemObject::setReadinessProbe(ReadinessProbe probe) {
    return std::exchange(readinessProbe(), std::move(probe));
}

} // namespace Scripting
