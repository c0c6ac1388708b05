#pragma once

#include <QFile>
#include <QString>

#include <memory>

class OutputChannel;

// A source file open for reading, from its start. Anything but a regular file is refused,
// so a folder or a device never turns into a piece.
class InputChannel {
public:
    // Throws FileError when the file cannot be opened for reading.
    explicit InputChannel(const QString &path);

    InputChannel(const InputChannel &) = delete;
    InputChannel &operator=(const InputChannel &) = delete;

    // True when no byte is left after those transferred so far.
    bool atEnd() const;

private:
    friend qint64 transferBytes(InputChannel &source, OutputChannel &target, qint64 maxBytes);

    QFile m_file;
    qint64 m_offset = 0;
    bool m_kernelCopy = true;
    std::unique_ptr<char[]> m_buffer;
};

// A file open for writing from its start; an existing file of that name is cut to nothing,
// so no stale tail of an earlier, larger file survives.
class OutputChannel {
public:
    // Throws FileError when the file cannot be created or opened.
    explicit OutputChannel(const QString &path);
    ~OutputChannel() = default; // closes quietly on error paths; close() reports

    OutputChannel(const OutputChannel &) = delete;
    OutputChannel &operator=(const OutputChannel &) = delete;

    // Closes the file; throws FileError when the system reports that the data was not stored.
    void close();

private:
    friend qint64 transferBytes(InputChannel &source, OutputChannel &target, qint64 maxBytes);

    QFile m_file;
    qint64 m_offset = 0;
};

// Moves up to maxBytes from the source's position to the end of the target and returns how
// many were moved: fewer only when the source has ended. Throws FileError naming the file
// that failed, with the system's reason.
qint64 transferBytes(InputChannel &source, OutputChannel &target, qint64 maxBytes);

// Writes contents as the whole of the file at path, replacing any file of that name.
// Throws FileError when it cannot be written completely.
void writeWholeFile(const QString &path, const QByteArray &contents);
