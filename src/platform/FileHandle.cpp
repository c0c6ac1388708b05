#include "FileHandle.h"

#include "Failure.h"

#include <cerrno>
#include <utility>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileHandle::~FileHandle() {
    close();
}

FileHandle::FileHandle(FileHandle &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_path(std::move(other.m_path))
    , m_files(other.m_files) {}

FileHandle &FileHandle::operator=(FileHandle &&other) noexcept {
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_files = other.m_files;
    }
    return *this;
}

void FileHandle::fail(int error) const {
    throw Failure::fromSystemError(m_path, error);
}

FileFacts FileHandle::facts() const {
    struct stat status {};
    if (m_files->status(m_fd, &status) != 0)
        fail(errno);
    return factsOf(status);
}

qint64 FileHandle::readAt(char *buffer, qint64 size, qint64 offset) const {
    for (;;) {
        const ssize_t got = m_files->readAt(m_fd, buffer, size_t(size), off_t(offset));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            fail(errno);
    }
}

qint64 FileHandle::readFully(char *buffer, qint64 size, qint64 offset) const {
    qint64 got = 0;
    while (got < size) {
        const qint64 read = readAt(buffer + got, size - got, offset + got);
        if (read == 0)
            break;
        got += read;
    }
    return got;
}

void FileHandle::write(const char *data, qint64 size) const {
    bool stalled = false;
    while (size > 0) {
        const ssize_t written = m_files->write(m_fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            fail(errno);
        // A write that stores nothing is tried once more, so that the system names the reason.
        if (written == 0) {
            if (stalled)
                fail(ENOSPC);
            stalled = true;
        }
        data += written;
        size -= written;
    }
}

void FileHandle::flushToDisk() const {
    while (m_files->flush(m_fd) != 0) {
        if (errno != EINTR)
            fail(errno);
    }
}

void FileHandle::startWriteback(qint64 offset, qint64 length) const {
    // A failure here only means that the flush does all the work, as it would anyway.
    m_files->startWriteback(m_fd, off_t(offset), off_t(length));
}

void FileHandle::truncate() const {
    if (m_files->truncate(m_fd, 0) != 0)
        fail(errno);
}

FileHandle FileHandle::duplicate() const {
    FileHandle copy(m_files->duplicate(m_fd), m_path, *m_files);
    if (copy.fd() < 0)
        fail(errno);
    return copy;
}

void FileHandle::restrictPermissions(unsigned allowed) const {
    const FileFacts now = facts();
    const mode_t kept = mode_t(now.permissions & (allowed | S_IWUSR));
    if (kept == now.permissions || m_files->changeMode(m_fd, kept) == 0)
        return;
    // A file system without such permissions (FAT) has nothing to restrict, nor does a file of
    // another owner that this process may write.
    if (errno != ENOSYS && errno != EOPNOTSUPP && errno != EPERM)
        fail(errno);
}

bool FileHandle::tryLockExclusively() const {
    while (m_files->lock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

void FileHandle::finish() {
    if (m_fd < 0)
        return;
    // The descriptor is gone even when close() fails, so it is never retried.
    if (m_files->close(std::exchange(m_fd, -1)) != 0 && errno != EINTR)
        fail(errno);
}

void FileHandle::close() noexcept {
    if (m_fd >= 0)
        m_files->close(std::exchange(m_fd, -1));
}
