#pragma once

#include "FileFacts.h"
#include "FileSystem.h"

#include <QString>
#include <QtGlobal>

#include <utility>

// An open file descriptor, the path it was opened by and the file system it was opened through,
// which every call on it goes through; closed when the handle goes. What fails on it is thrown as
// a Failure naming that path, with the system's reason.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(int fd, QString path, const FileSystem &files = FileSystem::system()) noexcept
        : m_fd(fd)
        , m_path(std::move(path))
        , m_files(&files) {}
    ~FileHandle();
    FileHandle(FileHandle &&other) noexcept;
    FileHandle &operator=(FileHandle &&other) noexcept;
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int fd() const noexcept { return m_fd; }
    const QString &path() const noexcept { return m_path; }
    const FileSystem &files() const noexcept { return *m_files; }

    // Throws a Failure naming the path with the system's reason for error (an errno value).
    [[noreturn]] void fail(int error) const;

    // As the file is now.
    FileFacts facts() const;
    // Reads up to size bytes at offset; returns how many, 0 only at the end. Safe from several
    // threads at once.
    qint64 readAt(char *buffer, qint64 size, qint64 offset) const;
    // Reads size bytes at offset, fewer only where the file ends; returns how many.
    qint64 readFully(char *buffer, qint64 size, qint64 offset) const;
    // Writes all of data at the current position.
    void write(const char *data, qint64 size) const;
    // Returns once the data written is on the disk.
    void flushToDisk() const;
    // Asks the system to start writing length bytes from offset to the disk, without waiting for
    // it, so that a later flush has less left to wait for; where it cannot, the flush does all.
    void startWriteback(qint64 offset, qint64 length) const;
    // Cuts the file to nothing.
    void truncate() const;
    // Another descriptor of the same open file, named by the same path.
    FileHandle duplicate() const;
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
    const FileSystem *m_files = &FileSystem::system();
};
