#pragma once

#include "FileFacts.h"

#include <QString>
#include <QtGlobal>

#include <utility>

// An open file descriptor and the path it was opened by, closed when the handle goes. What fails
// on it is thrown as a Failure naming that path, with the system's reason.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(int fd, QString path) noexcept
        : m_fd(fd)
        , m_path(std::move(path)) {}
    ~FileHandle();
    FileHandle(FileHandle &&other) noexcept;
    FileHandle &operator=(FileHandle &&other) noexcept;
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int fd() const noexcept { return m_fd; }
    const QString &path() const noexcept { return m_path; }

    // Throws a Failure naming the path with the system's reason for error (an errno value).
    [[noreturn]] void fail(int error) const;

    // As the file is now.
    FileFacts facts() const;
    // Writes all of data at the current position.
    void write(const char *data, qint64 size) const;
    // Returns once the data written is on the disk.
    void flushToDisk() const;
    // Takes from the file every permission that allowed does not hold, so that what is made of
    // a private file is no less private; the owner keeps the right to write.
    void restrictPermissions(unsigned allowed) const;
    // Takes an advisory lock on the whole file, held until the descriptor is closed, unless
    // another descriptor holds one; waits for no one. Returns whether it took it.
    bool tryLockExclusively() const;
    // Closes the descriptor now and throws where the close reports lost data (NFS does).
    void finish();
    // Closes it, whatever the close reports.
    void close() noexcept;
    // Gives up the descriptor, open, to the caller.
    int release() noexcept { return std::exchange(m_fd, -1); }

private:
    int m_fd = -1;
    QString m_path;
};
