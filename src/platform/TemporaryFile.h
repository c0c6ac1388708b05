#pragma once

#include "FileHandle.h"

#include <QByteArray>

class OutputFolder;

// A file written under a name of its own in a folder, then put in place of another in one step,
// so that a failure or a full disk never leaves a half-written file under the real name and
// never destroys the file it was to replace. Removed again unless it was put in place.
// Failures are reported for the name it was to take, the only one the user knows.
class TemporaryFile {
public:
    TemporaryFile(const OutputFolder &folder, QByteArray finalName);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const noexcept { return m_file.fd(); }

    // Throws FileError naming the final name, with the system's reason for error.
    [[noreturn]] void fail(int error) const;

    // Tells it that bytes more were written at its end. These are sent on to the disk in steps,
    // while the writing goes on, so that flushToDisk() has less left to wait for.
    void wrote(qint64 bytes);
    // Waits until the data is on the disk; throws FileError.
    void flushToDisk() const;
    // Closes the file and renames it over the final name, for good; throws FileError.
    void putInPlace();

private:
    const OutputFolder &m_folder;
    QByteArray m_finalName;
    QByteArray m_name;
    FileHandle m_file;
    qint64 m_written = 0;
    qint64 m_sentToDisk = 0;
    bool m_inPlace = false;
};
