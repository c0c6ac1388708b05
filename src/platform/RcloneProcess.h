#pragma once

#include "Failure.h"
#include "FileHandle.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

// One run of the rclone program, a child process started with an argument list, never through
// a shell, and started at once, so that one may run while another is prepared. Its failures
// are told of concerning, the path on the remote the user knows, with rclone's own reason
// (English: rclone has no other words) under a code for what it means: a remote that is not
// configured, credentials refused, a quota exceeded, a connection lost, a path not found. Where
// keepGoing says no, it is ended and a Failure of kind Stopped thrown.
class RcloneProcess {
public:
    using KeepGoing = std::function<bool()>;
    // The stream of bytes it prints, where there is one: read() passes it through a pipe of
    // this process's own. Without one, what it prints is kept for finish().
    enum class Stream { None, Output };

    // Throws a Failure where rclone cannot be started (Rclone::absent(), if it is missing).
    RcloneProcess(const QStringList &arguments, QString concerning, Stream stream = Stream::None);
    ~RcloneProcess(); // ends it, where it still runs
    RcloneProcess(const RcloneProcess &) = delete;
    RcloneProcess &operator=(const RcloneProcess &) = delete;

    const QString &concerning() const noexcept { return m_concerning; }

    // The environment every rclone of this process's runs in: this process's own, but that it
    // skips the table of character widths its terminal screens use, which none of these shows,
    // and whose making cost a seventh of each rclone's start.
    static QProcessEnvironment environment();

    // Reads up to size bytes of what it prints, its output stream; 0 only at its end (then
    // finish() tells how it ended).
    qint64 read(char *buffer, qint64 size, const KeepGoing &keepGoing);
    // Waits for it to end and returns what it printed that was not read. Throws the failure it
    // ended with, where it did not succeed.
    QByteArray finish(const KeepGoing &keepGoing);
    // Ends it at once, where it still runs.
    void end() noexcept;

private:
    [[noreturn]] void throwEnded();
    [[noreturn]] void throwStopped();
    // Waits until its stream is ready for reading, or its end is gone; ends it where keepGoing
    // says no first, and throws that stop.
    void waitForStream(const KeepGoing &keepGoing);

    QString m_concerning;
    QProcess m_process;
    FileHandle m_stream; // this process's end of the stream's pipe, while open
};
