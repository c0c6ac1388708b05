#include "FileSystem.h"

#include <cstdio>
#include <limits>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

const FileSystem &FileSystem::system() {
    static const FileSystem own;
    return own;
}

int FileSystem::open(const char *path, int flags, mode_t mode) const {
    return ::open(path, flags, mode);
}

int FileSystem::openAt(int folder, const char *name, int flags, mode_t mode) const {
    return ::openat(folder, name, flags, mode);
}

int FileSystem::duplicate(int fd) const {
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

int FileSystem::close(int fd) const {
    return ::close(fd);
}

ssize_t FileSystem::readAt(int fd, void *buffer, size_t size, off_t offset) const {
    return ::pread(fd, buffer, size, offset);
}

int FileSystem::bypassCache(int fd, bool bypass) const {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return -1;
    return ::fcntl(fd, F_SETFL, bypass ? flags | O_DIRECT : flags & ~O_DIRECT);
}

ssize_t FileSystem::write(int fd, const void *data, size_t size) const {
    return ::write(fd, data, size);
}

ssize_t FileSystem::copyRange(int in, off_t *offset, int out, size_t count) const {
    loff_t from = *offset;
    const ssize_t copied = ::copy_file_range(in, &from, out, nullptr, count, 0);
    *offset = off_t(from);
    return copied;
}

ssize_t FileSystem::sendFile(int out, int in, off_t *offset, size_t count) const {
    return ::sendfile(out, in, offset, count);
}

int FileSystem::cloneRange(int in, off_t inOffset, int out, off_t outOffset, off_t length) const {
    file_clone_range range{};
    range.src_fd = in;
    range.src_offset = __u64(inOffset);
    range.src_length = __u64(length);
    range.dest_offset = __u64(outOffset);
    return ::ioctl(out, FICLONERANGE, &range);
}

int FileSystem::truncate(int fd, off_t length) const {
    return ::ftruncate(fd, length);
}

int FileSystem::changeMode(int fd, mode_t mode) const {
    return ::fchmod(fd, mode);
}

int FileSystem::flush(int fd) const {
    return ::fsync(fd);
}

int FileSystem::flushFileSystem(int fd) const {
    return ::syncfs(fd);
}

int FileSystem::startWriteback(int fd, off_t offset, off_t length) const {
    return ::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
}

int FileSystem::renameAt(int fromFolder, const char *from, int toFolder, const char *to,
                         unsigned flags) const {
    return ::renameat2(fromFolder, from, toFolder, to, flags);
}

int FileSystem::linkAt(int fromFolder, const char *from, int toFolder, const char *to,
                       int flags) const {
    return ::linkat(fromFolder, from, toFolder, to, flags);
}

int FileSystem::symbolicLinkAt(const char *target, int folder, const char *name) const {
    return ::symlinkat(target, folder, name);
}

int FileSystem::removeAt(int folder, const char *name, int flags) const {
    return ::unlinkat(folder, name, flags);
}

int FileSystem::makeFolderAt(int folder, const char *name, mode_t mode) const {
    return ::mkdirat(folder, name, mode);
}

int FileSystem::statusOfPath(const char *path, struct stat *status) const {
    return ::stat(path, status);
}

int FileSystem::statusAt(int folder, const char *name, struct stat *status, int flags) const {
    return ::fstatat(folder, name, status, flags);
}

int FileSystem::status(int fd, struct stat *status) const {
    return ::fstat(fd, status);
}

int FileSystem::accessAt(int folder, const char *name, int mode, int flags) const {
    return ::faccessat(folder, name, mode, flags);
}

int FileSystem::volumeStatus(int fd, struct statvfs *volume) const {
    return ::fstatvfs(fd, volume);
}

int FileSystem::fileSystemStatus(int fd, struct statfs *volume) const {
    return ::fstatfs(fd, volume);
}

long FileSystem::pathLimit(int fd, int name) const {
    return ::fpathconf(fd, name);
}

int FileSystem::lock(int fd, int operation) const {
    return ::flock(fd, operation);
}

long FileSystem::openFileLimit() const {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur > rlim_t(std::numeric_limits<long>::max()))
        return std::numeric_limits<long>::max();
    return long(limit.rlim_cur);
}
