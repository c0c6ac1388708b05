#include "FileFacts.h"

#include <QFile>

#include <sys/stat.h>
#include <time.h>

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

qint64 nanoseconds(const struct timespec &time) {
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

qint64 now(clockid_t clock) {
    struct timespec time {};
    ::clock_gettime(clock, &time);
    return nanoseconds(time);
}

} // namespace

qint64 settledFileTime() {
    // A change is stamped with the precise time where its file's times were looked at since,
    // and otherwise with the coarse clock's, which lags: it is waited for.
    const qint64 tick = now(CLOCK_REALTIME);
    struct timespec step {};
    ::clock_getres(CLOCK_REALTIME_COARSE, &step);
    // A few ticks at most, should the clock be set back meanwhile.
    for (int steps = 0; steps < 4 && now(CLOCK_REALTIME_COARSE) < tick; ++steps)
        ::nanosleep(&step, nullptr);
    return tick;
}

FileFacts factsOf(const struct stat &status) {
    FileFacts facts;
    facts.kind = kindOf(status.st_mode);
    facts.identity = {quint64(status.st_dev), quint64(status.st_ino)};
    facts.size = qint64(status.st_size);
    facts.allocatedBytes = qint64(status.st_blocks) * 512;
    facts.linkCount = qint64(status.st_nlink);
    facts.permissions = unsigned(status.st_mode) & 07777;
    facts.modified = nanoseconds(status.st_mtim);
    facts.changed = nanoseconds(status.st_ctim);
    return facts;
}

FileFacts factsAtPath(const QString &path, const FileSystem &files) {
    struct stat status {};
    if (files.statusOfPath(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return factsOf(status);
}
