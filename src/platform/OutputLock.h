#pragma once

#include "FileFacts.h"
#include "FileHandle.h"

#include <QByteArray>
#include <QString>

#include <optional>

class OutputFolder;

// Held while a run writes the outputs of one file into a folder, so that a second run that
// would write the same outputs there is refused before its first byte instead of undoing the
// first one's work. It is a small hidden file locked with flock(), which Linux carries to the
// server on NFS; the file goes when the lock is let go.
class OutputLock {
public:
    // Takes the lock of key (a file's name, compared without case) in folder; nothing when
    // another process holds it. Throws Failure where the folder refuses the lock's file.
    static std::optional<OutputLock> take(const OutputFolder &folder, const QString &key);

    OutputLock(OutputLock &&other) noexcept;
    OutputLock &operator=(OutputLock &&other) noexcept;
    OutputLock(const OutputLock &) = delete;
    OutputLock &operator=(const OutputLock &) = delete;
    ~OutputLock(); // removes its file, still locked, then lets go

    // The hidden name of key's lock: its own, whatever key's length.
    static QByteArray fileName(const QString &key);

private:
    void release() noexcept;
    OutputLock(const OutputFolder &folder, QByteArray name, FileHandle file, FileIdentity identity);

    const OutputFolder *m_folder = nullptr;
    QByteArray m_name;
    FileHandle m_file;
    FileIdentity m_identity;
};
