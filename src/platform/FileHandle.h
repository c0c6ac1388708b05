#pragma once

#include <QtGlobal>

// An open file descriptor, closed when the handle goes.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) noexcept
        : m_fd(fd) {}
    ~FileHandle();
    FileHandle(FileHandle &&other) noexcept;
    FileHandle &operator=(FileHandle &&other) noexcept;
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int fd() const noexcept { return m_fd; }

    // Closes the descriptor now; returns 0, or the system's error code of a close that reports
    // lost data.
    int close() noexcept;

private:
    int m_fd = -1;
};

// Writes all of data at the current position of fd; returns 0, or the errno value of what
// stopped it.
int writeAll(int fd, const char *data, qint64 size);

// Returns once the data written to fd is on the disk: 0, or the system's error code.
int flushToDisk(int fd);

// Takes from fd's file every permission that allowed does not hold, so that what is made of a
// private file is no less private; the owner keeps the right to write. Returns 0, or the
// system's error code.
int restrictPermissions(int fd, unsigned allowed);

// Takes an advisory lock on the whole file, held until its descriptor is closed, unless another
// descriptor holds one; waits for no one. Returns whether it took it.
bool tryLockExclusively(int fd);
