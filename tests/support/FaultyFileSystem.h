#pragma once

#include "FileSystem.h"

#include <QByteArray>
#include <QHash>
#include <QtGlobal>

#include <mutex>
#include <optional>
#include <vector>

// The system's own calls for files, but that those a test chooses fail as a volume would fail
// them: a disk that fills up from the nth write on, a flush that reports an I/O error, a volume
// that takes no change, one that is FAT as it is through FUSE, or one with little room left.
// What the kernel itself does on such volumes is tested on real mounts; this stands in for
// them wherever Tessary's own handling is under test, without root. Safe from any thread.
class FaultyFileSystem : public FileSystem {
public:
    enum class Call {
        Create,          // a file made: opened with O_CREAT or O_TMPFILE
        Write,           // bytes written: write, copy_file_range, sendfile
        Clone,           // blocks shared (FICLONERANGE)
        PastCache,       // a read or write of a descriptor with O_DIRECT set
        Flush,           // fsync
        FlushFileSystem, // syncfs
        Rename,
        Link,
        Remove,
        MakeFolder,
    };

    // From the nth call of that kind on (counted from now, the next one the first), each fails
    // with error; where nameEnding is given, only calls on names that end so (a write's name is
    // that of the file it writes).
    void fail(Call call, int error, qint64 nth = 1, QByteArray nameEnding = {});
    // Every call that would change the volume fails with EROFS, as on a read-only medium.
    void takeNoChange();
    // As FAT is through FUSE: no unnamed files, no links of either kind, no rename that refuses
    // to replace, no permissions, files of at most 4 GiB - 1.
    void actAsFat();
    // As an rclone mount is: FAT's calls but that links fail with EIO, FUSE's type, and no file
    // counted free.
    void actAsRcloneMount();
    // As btrfs is: a file system whose files can share blocks (its clones copy the bytes).
    void actAsBlockSharing();
    // The room the volume says it has left.
    void reportRoom(qint64 freeBytes, qint64 freeFiles);
    // The block the volume says its files take whole, as one formatted with other blocks would.
    void reportBlockSize(qint64 bytes);

    int openAt(int folder, const char *name, int flags, mode_t mode) const override;
    int duplicate(int fd) const override;
    ssize_t readAt(int fd, void *buffer, size_t size, off_t offset) const override;
    int close(int fd) const override;
    ssize_t write(int fd, const void *data, size_t size) const override;
    ssize_t copyRange(int in, off_t *offset, int out, size_t count) const override;
    ssize_t sendFile(int out, int in, off_t *offset, size_t count) const override;
    int cloneRange(int in, off_t inOffset, int out, off_t outOffset, off_t length) const override;
    int truncate(int fd, off_t length) const override;
    int changeMode(int fd, mode_t mode) const override;
    int flush(int fd) const override;
    int flushFileSystem(int fd) const override;
    int renameAt(int fromFolder, const char *from, int toFolder, const char *to,
                 unsigned flags) const override;
    int linkAt(int fromFolder, const char *from, int toFolder, const char *to,
               int flags) const override;
    int symbolicLinkAt(const char *target, int folder, const char *name) const override;
    int removeAt(int folder, const char *name, int flags) const override;
    int makeFolderAt(int folder, const char *name, mode_t mode) const override;
    int accessAt(int folder, const char *name, int mode, int flags) const override;
    int volumeStatus(int fd, struct statvfs *volume) const override;
    int fileSystemStatus(int fd, struct statfs *volume) const override;
    long pathLimit(int fd, int name) const override;

private:
    struct Fault {
        Call call;
        int error;
        qint64 nth;
        QByteArray nameEnding;
        qint64 seen = 0;
    };
    // Whether this call fails; sets errno where it does.
    bool fails(Call call, const QByteArray &name) const;
    bool failsWithoutChange() const;
    bool failsPastCache(int fd) const;
    QByteArray nameOf(int fd) const;

    mutable std::mutex m_mutex;
    mutable std::vector<Fault> m_faults;
    mutable QHash<int, QByteArray> m_names; // of the files open for writing, by descriptor
    bool m_readOnly = false;
    bool m_fat = false;
    bool m_fuse = false;
    bool m_blockSharing = false;
    std::optional<std::pair<qint64, qint64>> m_room;
    std::optional<qint64> m_blockSize;
};
