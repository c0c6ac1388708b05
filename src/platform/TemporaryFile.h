#pragma once

#include "FileHandle.h"

#include <QByteArray>

#include "OutputFolder.h"

// A file written beside the one it is to become, then put in its place in one step, so that a
// failure, a full disk or a stop never leaves a half-written file under the real name and never
// destroys the file it was to replace. Where the file system allows, it has no name at all
// until it is put in place, so that nothing is left even when the process is killed; elsewhere
// it has a hidden name of its own, locked while it is written, and goes with the object.
// Failures are reported for the name it was to take, the only one the user knows.
class TemporaryFile {
public:
    TemporaryFile(const OutputFolder &folder, QByteArray finalName);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Removes the hidden files that earlier processes, killed while they wrote, left in folder
    // (on a file system without unnamed files, or between naming one and putting it in place).
    // Those still being written, by this process or another, are locked, and stay.
    static void removeLeftovers(const OutputFolder &folder);

    int fd() const noexcept { return m_file.fd(); }

    // Throws FileError naming the final name, with the system's reason for error.
    [[noreturn]] void fail(int error) const;

    // Writes data at its end; throws FileError.
    void write(const QByteArray &data);
    // No permission beyond allowed (see restrictPermissions()); throws FileError.
    void restrictPermissions(unsigned allowed) const;
    // Tells it that bytes more were written at its end. These are sent on to the disk in steps,
    // while the writing goes on, so that flushToDisk() has less left to wait for.
    void wrote(qint64 bytes);
    // Waits until the data is on the disk; throws FileError.
    void flushToDisk() const;
    // Closes the file and puts it at the final name, for good, replacing what stands there only
    // when asked to; throws FileError. The folder's own entry is made to last by
    // OutputFolder::sync().
    void putInPlace(OutputFolder::Replacing replacing);

private:
    const OutputFolder &m_folder;
    QByteArray m_finalName;
    QByteArray m_name; // empty while it has none
    FileHandle m_file;
    qint64 m_written = 0;
    qint64 m_sentToDisk = 0;
    bool m_inPlace = false;
};
