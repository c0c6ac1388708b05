#pragma once

#include "Failure.h"
#include "FileFacts.h"
#include "FileHandle.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <limits>
#include <memory>
#include <optional>

// What the file system under a folder allows and has room for.
struct FolderCapacity {
    qint64 freeBytes = std::numeric_limits<qint64>::max();
    qint64 blockSize = 1;  // files take whole blocks of this size
    qint64 nameMax = 255;  // bytes in one name
    qint64 pathMax = 4096; // bytes in a whole path, its terminating zero included
    qint64 maxFileBytes = std::numeric_limits<qint64>::max(); // the largest file it holds
    qint64 freeFiles = std::numeric_limits<qint64>::max();    // files that can still be made
    // Whether one syncfs() sends every file written there to the storage. A file system
    // without a block device of its own (FUSE: sshfs, a phone's MTP mount, bindfs; network file
    // systems) may take it and write nothing, so each file is flushed on its own there.
    bool flushesWhole = true;
};

// A name as OutputFolder takes it: the bytes the file system stores (QFile::encodeName).
QByteArray fileSystemName(const QString &name);
QString fromFileSystemName(const QByteArray &name);

// A folder that files are written into, held open so that every file is made relative to it:
// the folder is looked up once, and a folder put in its place later (a link, say) is never
// written. Names are given as fileSystemName() makes them. Every failure is a Failure naming
// the file it concerns.
class OutputFolder {
public:
    // Opens the folder through files, which every file made or opened in it goes through too.
    explicit OutputFolder(const QString &path, const FileSystem &files = FileSystem::system());

    // The folder's path in native separators, ending in one.
    const QString &path() const noexcept { return m_path; }
    const FileSystem &files() const noexcept { return m_handle.files(); }
    QString filePath(const QByteArray &name) const;
    // Device and inode of the folder itself.
    FileIdentity identity() const;
    // A path by which a child process that this one starts reaches this very folder, even
    // where the path that opened it leads elsewhere by now: its working folder, say.
    QString pathForChild() const;

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
    // The same, each given to take as it is read, so that a folder of a million files is
    // never held whole in memory. The name lasts only for the call.
    void forEachEntryName(const std::function<void(const QByteArray &name)> &take) const;

    // Opens name for writing from its start: the file of identity checked that a check begun at
    // checkBegan (a file time) found there, cut to nothing while it is that file, unchanged
    // since, of one name; or a new file where none was given or that one has gone since.
    // Whatever else stands there now was put there since, maybe by someone else (its number
    // may be the one of the file removed): it is left as it is and fails (AppearedMeanwhile;
    // HasOtherNames for a name given to the file since). Never follows a link, never waits on
    // a FIFO.
    FileHandle createOrReopen(const char *name, const std::optional<FileIdentity> &checked,
                              qint64 checkBegan) const;
    // Makes a file that did not exist; fails when name is taken. It may be read too, as what
    // stands in for an unnamed file (see createUnnamed()).
    FileHandle createNew(const char *name) const;
    // Makes a file in the folder that has no name yet, so that nothing of it is left if the
    // process dies before link(); an invalid handle where the file system cannot. It may be
    // read too, so that what was put in it can be checked where it is.
    FileHandle createUnnamed() const;
    // Gives a file of createUnnamed() the name name, which must be free.
    void link(const FileHandle &file, const QByteArray &name) const;
    // Makes at name, which must be free, a symbolic link to target. Returns false where the
    // file system has no symbolic links (FAT).
    bool makeSymbolicLink(const QByteArray &target, const QByteArray &name) const;
    // Opens the file at name for reading. Never follows a link and never waits on a FIFO.
    FileHandle openForReading(const QByteArray &name) const;
    // Opens the file at name for writing, neither made nor cut; as openForReading otherwise.
    FileHandle openForWriting(const QByteArray &name) const;
    // Opens the file at name for writing, made when missing but never cut: a lock's file.
    FileHandle openLockFile(const QByteArray &name) const;
    // Removes the file at name; a name that is already gone is no failure.
    void remove(const QByteArray &name) const;
    // Removes the file at name only while it is still the file identity names, a regular file
    // of one name, not changed since the file time changedSince where one is given: what
    // someone put there or wrote since stays. Returns whether it removed it.
    bool removeIfStill(const QByteArray &name, const FileIdentity &identity,
                       qint64 changedSince = std::numeric_limits<qint64>::max()) const;
    // Moves from to to in one step. Replaces what stands at to only when asked to; else fails
    // when something does.
    enum class Replacing { Never, Allowed };
    void rename(const QByteArray &from, const QByteArray &to, Replacing replacing) const {
        moveTo(*this, from, to, replacing);
    }
    // The same from this folder to another on its file system.
    void moveTo(const OutputFolder &target, const QByteArray &from, const QByteArray &to,
                Replacing replacing) const;
    // Makes a folder at name, which must be free, that only this user may enter, and opens it.
    std::unique_ptr<OutputFolder> makeFolder(const QByteArray &name) const;
    // Opens the folder at name, never through a link.
    std::unique_ptr<OutputFolder> openFolder(const QByteArray &name) const;
    // Removes the empty folder at name; one that is already gone is no failure.
    void removeFolder(const QByteArray &name) const;
    // Removes the folder at name with all it holds, folders in it too, never through a link
    // (a link in it is removed, not followed).
    void removeTree(const QByteArray &name) const;
    // The way rename() takes where the file system refuses to rename without replacing (FUSE):
    // a second name, which the system refuses to take when it is taken, then the first name
    // removed. Returns false where the file system has no hard links either.
    bool moveByLink(const QByteArray &from, const QByteArray &to) const {
        return moveByLink(*this, from, to);
    }
    bool moveByLink(const OutputFolder &target, const QByteArray &from, const QByteArray &to) const;
    // Makes the folder's entries (files made, renamed, removed) survive a crash.
    void sync() const;
    // Returns once the folder's whole file system holds every byte written to it, entries
    // included.
    void syncFileSystem() const;

    // Throws a Failure for name with the system's reason for error (an errno value).
    [[noreturn]] void fail(const QByteArray &name, int error) const;
    // A failure to make one of Tessary's own files in the folder (a lock, a private folder),
    // which the user never sees, told of the folder itself, in the user's words where the reason
    // is the folder's: read-only, closed to this user, full.
    Failure ownFileFailure(const Failure &failure) const;

private:
    OutputFolder(QString path, FileHandle handle);
    FileFacts factsAt(const QByteArray &name, bool followLinks) const;
    FileHandle openFile(const char *name, int flags) const;

    QString m_path;
    FileHandle m_handle; // the folder itself
};
