#pragma once

#include "FileFacts.h"
#include "FileHandle.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <limits>

// What the file system under a folder allows and has room for.
struct FolderCapacity {
    qint64 freeBytes = 0;
    qint64 blockSize = 1;  // files take whole blocks of this size
    qint64 nameMax = 255;  // bytes in one name
    qint64 pathMax = 4096; // bytes in a whole path, its terminating zero included
    qint64 maxFileBytes = std::numeric_limits<qint64>::max(); // the largest file it holds
};

// A name as OutputFolder takes it: the bytes the file system stores (QFile::encodeName).
QByteArray fileSystemName(const QString &name);
QString fromFileSystemName(const QByteArray &name);

// A folder that files are written into, held open so that every file is made relative to it:
// the folder is looked up once, not once per file. Names are given as fileSystemName() makes
// them. Every failure is a FileError naming the file it concerns.
class OutputFolder {
public:
    explicit OutputFolder(const QString &path);

    // The folder's path in native separators, ending in one.
    const QString &path() const noexcept { return m_path; }
    QString filePath(const QByteArray &name) const;

    // What stands at name, without following a link there; Missing when nothing does.
    FileFacts facts(const QByteArray &name) const;
    // What stands at the end of the links at name; Missing when nothing does.
    FileFacts factsFollowingLinks(const QByteArray &name) const;
    // Whether this process may write the file at name ("." for the folder itself, to make
    // files in it).
    bool canWrite(const QByteArray &name) const;
    FolderCapacity capacity() const;
    // The names of the entries in the folder, but "." and "..".
    QList<QByteArray> entryNames() const;

    // Opens name for writing from its start, created or cut to nothing. Never follows a link
    // and never waits on a FIFO: those fail.
    FileHandle create(const char *name) const;
    // Makes a file that did not exist; fails when name is taken.
    FileHandle createNew(const char *name) const;
    // Removes the file at name; a name that is already gone is no failure.
    void remove(const QByteArray &name) const;
    // Moves from over to, replacing what to names, in one step.
    void rename(const QByteArray &from, const QByteArray &to) const;
    // Writes contents as the whole file at name.
    void writeWholeFile(const QByteArray &name, const QByteArray &contents) const;
    // Makes the folder's entries (files made, renamed, removed) survive a crash.
    void sync() const;

    // Throws a FileError for name with the system's reason for error (an errno value).
    [[noreturn]] void fail(const QByteArray &name, int error) const;

private:
    FileFacts factsAt(const QByteArray &name, bool followLinks) const;
    FileHandle openFile(const char *name, int flags) const;

    QString m_path;
    FileHandle m_handle; // the folder itself, where the system can hold one open
};
