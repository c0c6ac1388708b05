#include "OutputFolder.h"

#include "Failure.h"
#include "Paths.h"

#include <QFile>
#include <QStorageInfo>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;
constexpr unsigned long kBtrfsMagic = 0x9123683e;
constexpr unsigned long kFuseMagic = 0x65735546; // FUSE_SUPER_MAGIC

[[noreturn]] void refuseToReplace(const QString &path) {
    throw Failure(Failure::Code::AppearedMeanwhile, path);
}

qint64 folderLimit(const FileSystem &files, int fd, int name, qint64 unlimited) {
    errno = 0;
    const long limit = files.pathLimit(fd, name);
    return limit > 0 ? qint64(limit) : unlimited;
}

// FAT ends files at 4 GiB - 1. The C library says so through _PC_FILESIZEBITS for the kernel's
// FAT, but answers the same 32 bits as a guess for every file system it does not know (tmpfs,
// FUSE, NFS), so the answer is believed only for FAT: the kernel's, or a FUSE driver's.
bool holdsFilesOfAtMost4GiB(const FileSystem &files, int fd, const QString &path) {
    constexpr unsigned long kFatMagic = 0x4d44; // MSDOS_SUPER_MAGIC
    if (folderLimit(files, fd, _PC_FILESIZEBITS, 64) > 32)
        return false;
    struct statfs volume {};
    if (files.fileSystemStatus(fd, &volume) != 0)
        return false;
    if (static_cast<unsigned long>(volume.f_type) == kFatMagic)
        return true;
    return static_cast<unsigned long>(volume.f_type) == kFuseMagic &&
           QStorageInfo(path).fileSystemType() == "fuse.fusefat";
}

bool onFuse(const FileSystem &files, int fd) {
    struct statfs volume {};
    return files.fileSystemStatus(fd, &volume) == 0 &&
           static_cast<unsigned long>(volume.f_type) == kFuseMagic;
}

// Whether syncfs() of the file system under fd reaches its storage: a block device's file
// systems flush to it, and btrfs, tmpfs and ramfs (which have none, or nothing to flush) hold
// their own; a FUSE driver or a network file system may take it and do nothing.
bool syncfsFlushesWhole(const FileSystem &files, int fd) {
    constexpr unsigned long kTmpfsMagic = 0x01021994;
    constexpr unsigned long kRamfsMagic = 0x858458f6;
    struct stat folder {};
    struct statfs volume {};
    if (files.status(fd, &folder) != 0 || files.fileSystemStatus(fd, &volume) != 0)
        return false;
    const auto type = static_cast<unsigned long>(volume.f_type);
    return major(folder.st_dev) != 0 || type == kBtrfsMagic || type == kTmpfsMagic ||
           type == kRamfsMagic;
}

} // namespace

OutputFolder::OutputFolder(const QString &path, const FileSystem &files)
    : m_path(withTrailingSeparator(path)) {
    m_handle = FileHandle(
        files.open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0),
        m_path, files);
    if (m_handle.fd() < 0)
        throw Failure::fromSystemError(path, errno);
}

QByteArray fileSystemName(const QString &name) {
    return QFile::encodeName(name);
}

QString fromFileSystemName(const QByteArray &name) {
    return QFile::decodeName(name);
}

FileIdentity OutputFolder::identity() const {
    struct stat status {};
    if (files().status(m_handle.fd(), &status) != 0)
        throw Failure::fromSystemError(m_path, errno);
    return factsOf(status).identity;
}

QString OutputFolder::pathForChild() const {
    // The child has this descriptor until it runs its program (it closes on exec).
    return QStringLiteral("/proc/self/fd/%1").arg(m_handle.fd());
}

FileFacts OutputFolder::facts(const QByteArray &name) const {
    return factsAt(name, /*followLinks=*/false);
}

FileFacts OutputFolder::factsFollowingLinks(const QByteArray &name) const {
    return factsAt(name, /*followLinks=*/true);
}

FileFacts OutputFolder::factsAt(const QByteArray &name, bool followLinks) const {
    struct stat status {};
    if (files().statusAt(m_handle.fd(), name.constData(), &status,
                         followLinks ? 0 : AT_SYMLINK_NOFOLLOW) == 0)
        return factsOf(status);
    if (errno != ENOENT)
        fail(name, errno);
    return {};
}

bool OutputFolder::canWrite(const QByteArray &name) const {
    const int mode = name == "." ? W_OK | X_OK : W_OK;
    return files().accessAt(m_handle.fd(), name.constData(), mode, AT_EACCESS) == 0;
}

FolderCapacity OutputFolder::capacity() const {
    FolderCapacity capacity;
    struct statvfs volume {};
    if (files().volumeStatus(m_handle.fd(), &volume) != 0)
        throw Failure::fromSystemError(m_path, errno);
    // A file system that reports no size at all (some FUSE drivers) has room as far as it
    // knows; a full disk is then found while writing, as everywhere.
    if (volume.f_blocks > 0)
        capacity.freeBytes = qint64(volume.f_bavail) * qint64(volume.f_frsize);
    capacity.blockSize = volume.f_frsize > 0 ? qint64(volume.f_frsize) : 1;
    // A file system that makes files without limit (btrfs) reports no count of files, and a FUSE
    // driver that keeps none (rclone's) reports none free; either is found full, if ever, while
    // writing, as a full disk is.
    if (volume.f_files > 0 && (volume.f_favail > 0 || !onFuse(files(), m_handle.fd())))
        capacity.freeFiles = qint64(volume.f_favail);
    capacity.nameMax = folderLimit(files(), m_handle.fd(), _PC_NAME_MAX, capacity.nameMax);
    capacity.pathMax = folderLimit(files(), m_handle.fd(), _PC_PATH_MAX, capacity.pathMax);
    if (holdsFilesOfAtMost4GiB(files(), m_handle.fd(), m_path))
        capacity.maxFileBytes = (qint64(1) << 32) - 1;
    capacity.flushesWhole = syncfsFlushesWhole(files(), m_handle.fd());
    return capacity;
}

QList<QByteArray> OutputFolder::entryNames() const {
    QList<QByteArray> names;
    forEachEntryName([&names](const QByteArray &name) { names.append(name); });
    return names;
}

void OutputFolder::forEachEntryName(const std::function<void(const QByteArray &)> &take) const {
    // The listing gets a descriptor of its own, so that it reads the folder from its start.
    const int fd = files().openAt(m_handle.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    DIR *listing = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!listing) {
        const int error = errno;
        if (fd >= 0)
            files().close(fd);
        throw Failure::fromSystemError(m_path, error);
    }
    const std::unique_ptr<DIR, int (*)(DIR *)> closing(listing, ::closedir);
    QByteArray name;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(listing);
        if (!entry)
            break;
        // Into the same buffer each time, with no allocation once it is long enough.
        name.truncate(0);
        name.append(entry->d_name);
        if (name != "." && name != "..")
            take(name);
    }
    if (errno != 0)
        throw Failure::fromSystemError(m_path, errno);
}

FileHandle OutputFolder::openFile(const char *name, int flags) const {
    FileHandle file(files().openAt(m_handle.fd(), name, flags, 0666), filePath(name), files());
    if (file.fd() >= 0)
        return file;
    // O_NOFOLLOW reports a link as a loop, and O_NONBLOCK a FIFO without a reader as a missing
    // device: say what they are.
    if (errno == ELOOP)
        throw Failure(Failure::Code::WritesNoLink, filePath(name));
    if (errno == ENXIO)
        throw Failure(Failure::Code::NotRegularFile, filePath(name));
    fail(name, errno);
}

FileHandle OutputFolder::createOrReopen(const char *name,
                                        const std::optional<FileIdentity> &checked,
                                        qint64 checkBegan) const {
    if (checked) {
        FileHandle file(files().openAt(m_handle.fd(), name, O_WRONLY | kOpenFlags, 0),
                        filePath(name), files());
        if (file.fd() >= 0) {
            // Cut only while it is the file checked, of one name: a hard link put there since
            // would lose another file's bytes.
            const FileFacts facts = file.facts();
            if (facts.kind != FileKind::Regular || facts.identity != *checked)
                refuseToReplace(filePath(name));
            if (facts.linkCount > 1)
                throw Failure(Failure::Code::HasOtherNames, filePath(name));
            // Changed since: a file made since may have been given the number of the one
            // removed.
            if (facts.changed >= checkBegan)
                refuseToReplace(filePath(name));
            file.truncate();
            return file;
        }
        // O_NOFOLLOW's word for a link, and O_NONBLOCK's for a FIFO without a reader.
        if (errno == ELOOP || errno == ENXIO || errno == EISDIR)
            refuseToReplace(filePath(name));
        if (errno != ENOENT)
            fail(name, errno);
    }
    FileHandle file(
        files().openAt(m_handle.fd(), name, O_WRONLY | kOpenFlags | O_CREAT | O_EXCL, 0666),
        filePath(name), files());
    if (file.fd() >= 0)
        return file;
    if (errno == EEXIST)
        refuseToReplace(filePath(name));
    fail(name, errno);
}

FileHandle OutputFolder::createNew(const char *name) const {
    return openFile(name, O_RDWR | kOpenFlags | O_CREAT | O_EXCL);
}

FileHandle OutputFolder::createUnnamed() const {
    // Its name comes through /proc; without /proc it could never get one.
    if (files().accessAt(AT_FDCWD, "/proc/self/fd", X_OK, 0) != 0)
        return {};
    FileHandle file(files().openAt(m_handle.fd(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666),
                    m_path, files());
    if (file.fd() < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        fail(".", errno);
    return file;
}

void OutputFolder::link(const FileHandle &file, const QByteArray &name) const {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.fd());
    if (files().linkAt(AT_FDCWD, self.constData(), m_handle.fd(), name.constData(),
                       AT_SYMLINK_FOLLOW) != 0)
        fail(name, errno);
}

FileHandle OutputFolder::openForReading(const QByteArray &name) const {
    FileHandle file(files().openAt(m_handle.fd(), name.constData(), O_RDONLY | kOpenFlags, 0),
                    filePath(name), files());
    if (file.fd() >= 0)
        return file;
    if (errno == ELOOP) // O_NOFOLLOW's word for a link
        throw Failure(Failure::Code::FollowsNoLink, filePath(name));
    fail(name, errno);
}

FileHandle OutputFolder::openForWriting(const QByteArray &name) const {
    return openFile(name.constData(), O_WRONLY | kOpenFlags);
}

FileHandle OutputFolder::openLockFile(const QByteArray &name) const {
    // Written never, but opened for writing: an exclusive lock on NFS needs it.
    return openFile(name.constData(), O_WRONLY | kOpenFlags | O_CREAT);
}

void OutputFolder::remove(const QByteArray &name) const {
    if (files().removeAt(m_handle.fd(), name.constData(), 0) != 0 && errno != ENOENT)
        fail(name, errno);
}

bool OutputFolder::removeIfStill(const QByteArray &name, const FileIdentity &identity,
                                 qint64 changedSince) const {
    // A FIFO or a link put there may have been given the number of the file removed before.
    const FileFacts there = facts(name);
    if (there.kind != FileKind::Regular || there.linkCount != 1 || there.identity != identity ||
        there.changed >= changedSince)
        return false;
    remove(name);
    return true;
}

namespace {

// renameat2() of a file system that cannot refuse to replace.
bool refusesNoReplace(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// linkat() or symlinkat() of a file system without such links, under fd: FAT's answers EPERM,
// and a FUSE driver EIO for a call it does not implement (rclone's). A link made all the same is
// found by the look that comes next.
bool refusesLinks(const FileSystem &files, int fd, int error) {
    return error == EPERM || error == ENOSYS || error == EOPNOTSUPP ||
           (error == EIO && onFuse(files, fd));
}

} // namespace

bool OutputFolder::moveByLink(const OutputFolder &target, const QByteArray &from,
                              const QByteArray &to) const {
    if (files().linkAt(m_handle.fd(), from.constData(), target.m_handle.fd(), to.constData(), 0) !=
        0) {
        const int error = errno;
        if (error == EEXIST)
            refuseToReplace(target.filePath(to));
        if (refusesLinks(files(), target.m_handle.fd(), error))
            return false;
        target.fail(to, error);
    }
    remove(from);
    return true;
}

bool OutputFolder::makeSymbolicLink(const QByteArray &target, const QByteArray &name) const {
    if (files().symbolicLinkAt(target.constData(), m_handle.fd(), name.constData()) == 0)
        return true;
    const int error = errno;
    if (refusesLinks(files(), m_handle.fd(), error))
        return false;
    fail(name, error);
}

void OutputFolder::moveTo(const OutputFolder &target, const QByteArray &from, const QByteArray &to,
                          Replacing replacing) const {
    const int targetFd = target.m_handle.fd();
    if (replacing == Replacing::Never) {
        if (files().renameAt(m_handle.fd(), from.constData(), targetFd, to.constData(),
                             RENAME_NOREPLACE) == 0)
            return;
        if (errno == EEXIST)
            refuseToReplace(target.filePath(to));
        if (!refusesNoReplace(errno))
            target.fail(to, errno);
        if (moveByLink(target, from, to))
            return;
        // Neither (FAT through FUSE): looked at first. A file that appears between the look
        // and the rename is replaced; no call of such a file system can tell.
        if (target.facts(to).kind != FileKind::Missing)
            refuseToReplace(target.filePath(to));
    }
    if (files().renameAt(m_handle.fd(), from.constData(), targetFd, to.constData(), 0) != 0)
        target.fail(to, errno);
}

OutputFolder::OutputFolder(QString path, FileHandle handle)
    : m_path(std::move(path))
    , m_handle(std::move(handle)) {}

std::unique_ptr<OutputFolder> OutputFolder::makeFolder(const QByteArray &name) const {
    if (files().makeFolderAt(m_handle.fd(), name.constData(), 0700) != 0)
        fail(name, errno);
    return openFolder(name);
}

std::unique_ptr<OutputFolder> OutputFolder::openFolder(const QByteArray &name) const {
    FileHandle folder(files().openAt(m_handle.fd(), name.constData(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC, 0),
                      filePath(name), files());
    if (folder.fd() < 0)
        fail(name, errno);
    return std::unique_ptr<OutputFolder>(
        new OutputFolder(withTrailingSeparator(filePath(name)), std::move(folder)));
}

void OutputFolder::removeFolder(const QByteArray &name) const {
    if (files().removeAt(m_handle.fd(), name.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT)
        fail(name, errno);
}

void OutputFolder::removeTree(const QByteArray &name) const {
    {
        const std::unique_ptr<OutputFolder> folder = openFolder(name);
        for (const QByteArray &entry : folder->entryNames()) {
            if (folder->facts(entry).kind == FileKind::Folder)
                folder->removeTree(entry);
            else
                folder->remove(entry);
        }
    }
    removeFolder(name);
}

void OutputFolder::sync() const {
    if (files().flush(m_handle.fd()) != 0)
        throw Failure::fromSystemError(m_path, errno);
}

void OutputFolder::syncFileSystem() const {
    // Since Linux 5.8 it reports the write errors of the file system's files, too.
    if (files().flushFileSystem(m_handle.fd()) != 0)
        throw Failure::fromSystemError(m_path, errno);
}

Failure OutputFolder::ownFileFailure(const Failure &failure) const {
    if (failure.code() != Failure::Code::System)
        return failure;
    switch (failure.systemError()) {
    case EROFS:
        return Failure(Failure::Code::ReadOnlyFolder, m_path);
    case EACCES:
    case EPERM:
        return Failure(Failure::Code::FolderNotWritable, m_path);
    case ENOSPC:
    case EDQUOT:
        return Failure(Failure::Code::FolderIsFull, m_path);
    default:
        return failure.withPath(m_path);
    }
}

void OutputFolder::fail(const QByteArray &name, int error) const {
    throw Failure::fromSystemError(filePath(name), error);
}

QString OutputFolder::filePath(const QByteArray &name) const {
    return m_path + fromFileSystemName(name);
}
