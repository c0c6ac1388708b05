#include "FaultyFileSystem.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr long kFatMagic = 0x4d44;      // MSDOS_SUPER_MAGIC
constexpr long kFuseMagic = 0x65735546; // FUSE_SUPER_MAGIC

int refuse(int error) {
    errno = error;
    return -1;
}

bool writes(int flags) {
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0 ||
           (flags & O_TMPFILE) == O_TMPFILE;
}

} // namespace

void FaultyFileSystem::fail(Call call, int error, qint64 nth, QByteArray nameEnding) {
    const std::lock_guard lock(m_mutex);
    m_faults.push_back({call, error, nth, std::move(nameEnding), 0});
}

void FaultyFileSystem::takeNoChange() {
    const std::lock_guard lock(m_mutex);
    m_readOnly = true;
}

void FaultyFileSystem::actAsFat() {
    const std::lock_guard lock(m_mutex);
    m_fat = true;
}

void FaultyFileSystem::actAsRcloneMount() {
    actAsFat();
    fail(Call::Link, EIO);
    reportRoom(qint64(1) << 40, 0);
    const std::lock_guard lock(m_mutex);
    m_fuse = true;
}

void FaultyFileSystem::actAsBlockSharing() {
    const std::lock_guard lock(m_mutex);
    m_blockSharing = true;
}

void FaultyFileSystem::reportRoom(qint64 freeBytes, qint64 freeFiles) {
    const std::lock_guard lock(m_mutex);
    m_room = {freeBytes, freeFiles};
}

void FaultyFileSystem::reportBlockSize(qint64 bytes) {
    const std::lock_guard lock(m_mutex);
    m_blockSize = bytes;
}

bool FaultyFileSystem::fails(Call call, const QByteArray &name) const {
    const std::lock_guard lock(m_mutex);
    for (Fault &fault : m_faults) {
        if (fault.call != call || !name.endsWith(fault.nameEnding))
            continue;
        if (++fault.seen >= fault.nth) {
            errno = fault.error;
            return true;
        }
    }
    return false;
}

bool FaultyFileSystem::failsWithoutChange() const {
    const std::lock_guard lock(m_mutex);
    if (m_readOnly)
        errno = EROFS;
    return m_readOnly;
}

QByteArray FaultyFileSystem::nameOf(int fd) const {
    const std::lock_guard lock(m_mutex);
    return m_names.value(fd);
}

int FaultyFileSystem::openAt(int folder, const char *name, int flags, mode_t mode) const {
    if (writes(flags) && failsWithoutChange())
        return -1;
    const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
    if (creates && fails(Call::Create, name))
        return -1;
    {
        const std::lock_guard lock(m_mutex);
        if (m_fat && (flags & O_TMPFILE) == O_TMPFILE)
            return refuse(EOPNOTSUPP);
    }
    const int fd = FileSystem::openAt(folder, name, flags, mode);
    if (fd >= 0 && writes(flags)) {
        const std::lock_guard lock(m_mutex);
        m_names.insert(fd, name);
    }
    return fd;
}

ssize_t FaultyFileSystem::readAt(int fd, void *buffer, size_t size, off_t offset) const {
    if (failsPastCache(fd))
        return -1;
    return FileSystem::readAt(fd, buffer, size, offset);
}

int FaultyFileSystem::duplicate(int fd) const {
    const int copy = FileSystem::duplicate(fd);
    const std::lock_guard lock(m_mutex);
    if (copy >= 0)
        m_names.insert(copy, m_names.value(fd)); // the same file, by the same name
    return copy;
}

int FaultyFileSystem::close(int fd) const {
    {
        const std::lock_guard lock(m_mutex);
        m_names.remove(fd);
    }
    return FileSystem::close(fd);
}

ssize_t FaultyFileSystem::write(int fd, const void *data, size_t size) const {
    if (failsPastCache(fd) || failsWithoutChange() || fails(Call::Write, nameOf(fd)))
        return -1;
    return FileSystem::write(fd, data, size);
}

bool FaultyFileSystem::failsPastCache(int fd) const {
    return (::fcntl(fd, F_GETFL) & O_DIRECT) != 0 && fails(Call::PastCache, {});
}

ssize_t FaultyFileSystem::copyRange(int in, off_t *offset, int out, size_t count) const {
    if (failsWithoutChange() || fails(Call::Write, nameOf(out)))
        return -1;
    return FileSystem::copyRange(in, offset, out, count);
}

ssize_t FaultyFileSystem::sendFile(int out, int in, off_t *offset, size_t count) const {
    if (failsWithoutChange() || fails(Call::Write, nameOf(out)))
        return -1;
    return FileSystem::sendFile(out, in, offset, count);
}

int FaultyFileSystem::cloneRange(int in, off_t inOffset, int out, off_t outOffset,
                                 off_t length) const {
    if (failsWithoutChange() || fails(Call::Clone, nameOf(out)))
        return -1;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_blockSharing)
            return FileSystem::cloneRange(in, inOffset, out, outOffset, length);
    }
    // The bytes as a clone would give them; that blocks are shared is held on real volumes.
    std::vector<char> bytes(static_cast<size_t>(length));
    if (::pread(in, bytes.data(), bytes.size(), inOffset) != ssize_t(length)) {
        errno = EINVAL;
        return -1;
    }
    return ::pwrite(out, bytes.data(), bytes.size(), outOffset) == ssize_t(length) ? 0 : -1;
}

int FaultyFileSystem::truncate(int fd, off_t length) const {
    if (failsWithoutChange())
        return -1;
    return FileSystem::truncate(fd, length);
}

int FaultyFileSystem::changeMode(int fd, mode_t mode) const {
    if (failsWithoutChange())
        return -1;
    {
        const std::lock_guard lock(m_mutex);
        if (m_fat)
            return refuse(EPERM);
    }
    return FileSystem::changeMode(fd, mode);
}

int FaultyFileSystem::flush(int fd) const {
    if (fails(Call::Flush, nameOf(fd)))
        return -1;
    return FileSystem::flush(fd);
}

int FaultyFileSystem::flushFileSystem(int fd) const {
    if (fails(Call::FlushFileSystem, {}))
        return -1;
    return FileSystem::flushFileSystem(fd);
}

int FaultyFileSystem::renameAt(int fromFolder, const char *from, int toFolder, const char *to,
                               unsigned flags) const {
    if (failsWithoutChange() || fails(Call::Rename, to))
        return -1;
    {
        const std::lock_guard lock(m_mutex);
        if (m_fat && flags != 0)
            return refuse(EINVAL);
    }
    return FileSystem::renameAt(fromFolder, from, toFolder, to, flags);
}

int FaultyFileSystem::linkAt(int fromFolder, const char *from, int toFolder, const char *to,
                             int flags) const {
    if (failsWithoutChange() || fails(Call::Link, to))
        return -1;
    {
        const std::lock_guard lock(m_mutex);
        if (m_fat)
            return refuse(EPERM);
    }
    return FileSystem::linkAt(fromFolder, from, toFolder, to, flags);
}

int FaultyFileSystem::symbolicLinkAt(const char *target, int folder, const char *name) const {
    if (failsWithoutChange())
        return -1;
    {
        const std::lock_guard lock(m_mutex);
        if (m_fat)
            return refuse(EPERM);
    }
    return FileSystem::symbolicLinkAt(target, folder, name);
}

int FaultyFileSystem::removeAt(int folder, const char *name, int flags) const {
    if (failsWithoutChange() || fails(Call::Remove, name))
        return -1;
    return FileSystem::removeAt(folder, name, flags);
}

int FaultyFileSystem::makeFolderAt(int folder, const char *name, mode_t mode) const {
    if (failsWithoutChange() || fails(Call::MakeFolder, name))
        return -1;
    return FileSystem::makeFolderAt(folder, name, mode);
}

int FaultyFileSystem::accessAt(int folder, const char *name, int mode, int flags) const {
    if ((mode & W_OK) != 0 && failsWithoutChange())
        return -1;
    return FileSystem::accessAt(folder, name, mode, flags);
}

int FaultyFileSystem::volumeStatus(int fd, struct statvfs *volume) const {
    const int result = FileSystem::volumeStatus(fd, volume);
    const std::lock_guard lock(m_mutex);
    if (result == 0 && m_blockSize) {
        volume->f_bavail =
            fsblkcnt_t(qint64(volume->f_bavail) * qint64(volume->f_frsize) / *m_blockSize);
        volume->f_frsize = static_cast<unsigned long>(*m_blockSize);
    }
    if (result == 0 && m_room) {
        volume->f_bavail = fsblkcnt_t(m_room->first / qint64(volume->f_frsize));
        volume->f_favail = fsfilcnt_t(m_room->second);
        volume->f_files = std::max<fsfilcnt_t>(volume->f_files, volume->f_favail);
    }
    return result;
}

int FaultyFileSystem::fileSystemStatus(int fd, struct statfs *volume) const {
    const int result = FileSystem::fileSystemStatus(fd, volume);
    const std::lock_guard lock(m_mutex);
    if (result == 0 && m_fat)
        volume->f_type = m_fuse ? kFuseMagic : kFatMagic;
    return result;
}

long FaultyFileSystem::pathLimit(int fd, int name) const {
    {
        const std::lock_guard lock(m_mutex);
        if (m_fat && name == _PC_FILESIZEBITS)
            return 32;
    }
    return FileSystem::pathLimit(fd, name);
}
