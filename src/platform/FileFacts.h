#pragma once

#include "FileSystem.h"

#include <QHashFunctions>
#include <QString>
#include <QtGlobal>

struct stat;

// What stands at a path, as the file system reports it without following a last link.
enum class FileKind { Missing, Regular, Folder, SymbolicLink, Fifo, Device, Socket, Other };

// Device and inode: two paths name the same file when these are equal.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity &) const = default;
};

inline size_t qHash(const FileIdentity &identity, size_t seed = 0) noexcept {
    return qHashMulti(seed, identity.device, identity.inode);
}

struct FileFacts {
    FileKind kind = FileKind::Missing;
    FileIdentity identity;
    qint64 size = 0;           // as reported; files of /proc report 0 and hold more
    qint64 allocatedBytes = 0; // disk space the file takes now
    qint64 linkCount = 0;      // names the file has (hard links)
    unsigned permissions = 0;  // who may read, write and run it: the mode's low 12 bits
    qint64 modified = 0;       // of its bytes (mtime), in nanoseconds since 1970
    qint64 changed = 0;        // of its bytes or its entry (ctime), in nanoseconds since 1970

    // Whether it is the same file, unchanged since other was taken: the same identity, length
    // and times.
    bool unchangedSince(const FileFacts &other) const {
        return identity == other.identity && size == other.size && modified == other.modified &&
               changed == other.changed;
    }
};

// A file time that every change made from now on stamps a file's ctime with, or a later one,
// and no change made before: now, once the coarse clock most changes are stamped with has
// caught up with it (a few milliseconds). Nanoseconds since 1970.
qint64 settledFileTime();

// The facts of a stat() result.
FileFacts factsOf(const struct stat &status);

// What stands at the end of the links at path; Missing when nothing does or it cannot be
// looked at.
FileFacts factsAtPath(const QString &path, const FileSystem &files = FileSystem::system());
