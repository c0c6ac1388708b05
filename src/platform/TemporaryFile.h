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

    // Open for writing at its end; failures on it name the final name.
    const FileHandle &handle() const noexcept { return m_file; }
    // The name it takes in putInPlace(), and the file it is, for as long as it is that file.
    const QByteArray &finalName() const noexcept { return m_finalName; }
    const FileIdentity &identity() const noexcept { return m_identity; }

    // Writes data at its end; throws Failure.
    void write(const QByteArray &data) { write(data.constData(), data.size()); }
    void write(const char *data, qint64 size);
    // No permission beyond allowed (see restrictPermissions()); throws Failure.
    void restrictPermissions(unsigned allowed) const;
    // Tells it that bytes more were written at its end. These are sent on to the disk in steps,
    // while the writing goes on, so that flushToDisk() has less left to wait for.
    void wrote(qint64 bytes);
    // Waits until the data is on the disk; throws Failure.
    void flushToDisk() const;
    // Closes the file and puts it at the final name, for good, replacing what stands there only
    // when asked to; throws Failure. The folder's own entry is made to last by
    // OutputFolder::sync().
    void putInPlace(OutputFolder::Replacing replacing);

private:
    // Takes the file just made as its own: locked, and named in failures by its final name.
    void takeOver();

    const OutputFolder &m_folder;
    QByteArray m_finalName;
    QByteArray m_name; // empty while it has none
    FileHandle m_file;
    FileIdentity m_identity;
    qint64 m_written = 0;
    qint64 m_sentToDisk = 0;
    bool m_inPlace = false;
};
