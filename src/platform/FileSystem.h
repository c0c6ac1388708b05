#pragma once

#include <sys/types.h>

struct stat;
struct statfs;
struct statvfs;

// Every call the file layer makes of the system for files and folders, behind one interface (as
// leveldb's Env): the system's own for every run, or in tests one that fails a chosen call with a
// chosen error, so that a full disk, an I/O error, a read-only volume or a file system without
// links is met without mounting anything. Each call takes what the system call of its name takes
// (relative to a folder's descriptor where it ends in At), returns what it returns and sets errno
// as it does; it is safe from any thread. Folders, files and the engine above them never call the
// system for files but through one.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    FileSystem() = default;
    FileSystem(const FileSystem &) = delete;
    FileSystem &operator=(const FileSystem &) = delete;

    // The system's own: what every folder and file uses unless it was given another.
    static const FileSystem &system();

    virtual int open(const char *path, int flags, mode_t mode) const;
    virtual int openAt(int folder, const char *name, int flags, mode_t mode) const;
    virtual int duplicate(int fd) const;
    virtual int close(int fd) const;
    virtual ssize_t readAt(int fd, void *buffer, size_t size, off_t offset) const;
    // Sets or clears O_DIRECT on fd: its reads and writes go past the page cache, or through it.
    virtual int bypassCache(int fd, bool bypass) const;

    virtual ssize_t write(int fd, const void *data, size_t size) const;
    // copy_file_range() from in at offset to out's position, advancing offset.
    virtual ssize_t copyRange(int in, off_t *offset, int out, size_t count) const;
    // sendfile() from in at offset to out's position, advancing offset.
    virtual ssize_t sendFile(int out, int in, off_t *offset, size_t count) const;
    // ioctl(FICLONERANGE): length bytes of in from inOffset become out's from outOffset by
    // sharing in's blocks, nothing copied; 0 for length means up to in's end.
    virtual int cloneRange(int in, off_t inOffset, int out, off_t outOffset, off_t length) const;
    virtual int truncate(int fd, off_t length) const;
    virtual int changeMode(int fd, mode_t mode) const;
    // fsync(); syncfs() of the file system fd is on.
    virtual int flush(int fd) const;
    virtual int flushFileSystem(int fd) const;
    // sync_file_range() that starts the writing of a range, waiting for nothing.
    virtual int startWriteback(int fd, off_t offset, off_t length) const;

    // renameat2() with its flags (RENAME_NOREPLACE), linkat(), symlinkat(), unlinkat(),
    // mkdirat().
    virtual int renameAt(int fromFolder, const char *from, int toFolder, const char *to,
                         unsigned flags) const;
    virtual int linkAt(int fromFolder, const char *from, int toFolder, const char *to,
                       int flags) const;
    virtual int symbolicLinkAt(const char *target, int folder, const char *name) const;
    virtual int removeAt(int folder, const char *name, int flags) const;
    virtual int makeFolderAt(int folder, const char *name, mode_t mode) const;

    // stat() of a path, fstatat() and fstat().
    virtual int statusOfPath(const char *path, struct stat *status) const;
    virtual int statusAt(int folder, const char *name, struct stat *status, int flags) const;
    virtual int status(int fd, struct stat *status) const;
    virtual int accessAt(int folder, const char *name, int mode, int flags) const;
    // fstatvfs(), fstatfs() and fpathconf() of the file system fd is on.
    virtual int volumeStatus(int fd, struct statvfs *volume) const;
    virtual int fileSystemStatus(int fd, struct statfs *volume) const;
    virtual long pathLimit(int fd, int name) const;
    // flock().
    virtual int lock(int fd, int operation) const;
    // How many descriptors the process may hold open at once (getrlimit's soft RLIMIT_NOFILE).
    virtual long openFileLimit() const;
};
