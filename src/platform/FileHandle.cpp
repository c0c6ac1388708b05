#include "FileHandle.h"

#include <cerrno>
#include <utility>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileHandle::~FileHandle() {
    close();
}

FileHandle::FileHandle(FileHandle &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

FileHandle &FileHandle::operator=(FileHandle &&other) noexcept {
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int FileHandle::close() noexcept {
    if (m_fd < 0)
        return 0;
    // The descriptor is gone even when close() fails, so it is never retried.
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

int writeAll(int fd, const char *data, qint64 size) {
    bool stalled = false;
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        // A write that stores nothing is tried once more, so that the system names the reason.
        if (written == 0) {
            if (stalled)
                return ENOSPC;
            stalled = true;
        }
        data += written;
        size -= written;
    }
    return 0;
}

int flushToDisk(int fd) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

int restrictPermissions(int fd, unsigned allowed) {
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return errno;
    const mode_t kept = status.st_mode & (mode_t(allowed) | S_IWUSR) & 07777;
    if (kept == (status.st_mode & 07777))
        return 0;
    if (::fchmod(fd, kept) == 0)
        return 0;
    // A file system without such permissions (FAT) has nothing to restrict, nor does a file of
    // another owner that this process may write.
    return errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM ? 0 : errno;
}

bool tryLockExclusively(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}
