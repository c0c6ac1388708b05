#include "FileFacts.h"

#include <QFile>

#include <sys/stat.h>

namespace {

FileKind kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISLNK(mode))
        return FileKind::SymbolicLink;
    if (S_ISFIFO(mode))
        return FileKind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileKind::Device;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    return FileKind::Other;
}

} // namespace

FileFacts factsOf(const struct stat &status) {
    FileFacts facts;
    facts.kind = kindOf(status.st_mode);
    facts.identity = {quint64(status.st_dev), quint64(status.st_ino)};
    facts.size = qint64(status.st_size);
    facts.allocatedBytes = qint64(status.st_blocks) * 512;
    facts.linkCount = qint64(status.st_nlink);
    facts.permissions = unsigned(status.st_mode) & 07777;
    constexpr qint64 kBillion = 1'000'000'000;
    facts.modified = qint64(status.st_mtim.tv_sec) * kBillion + status.st_mtim.tv_nsec;
    facts.changed = qint64(status.st_ctim.tv_sec) * kBillion + status.st_ctim.tv_nsec;
    return facts;
}

FileFacts factsAtPath(const QString &path, const FileSystem &files) {
    struct stat status {};
    if (files.statusOfPath(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return factsOf(status);
}
