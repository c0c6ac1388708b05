#pragma once

#include "Failure.h"

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

    // Throws a Failure where rclone cannot be started (Rclone::absent(), if it is missing).
    RcloneProcess(const QStringList &arguments, QString concerning);
    ~RcloneProcess(); // ends it, where it still runs
    RcloneProcess(const RcloneProcess &) = delete;
    RcloneProcess &operator=(const RcloneProcess &) = delete;

    const QString &concerning() const noexcept { return m_concerning; }

    // The environment every rclone of this process's runs in: this process's own, but that it
    // skips the table of character widths its terminal screens use, which none of these shows,
    // and whose making cost a seventh of each rclone's start.
    static QProcessEnvironment environment();

    // Waits for it to end and returns what it printed. Throws the failure it ended with, where
    // it did not succeed.
    QByteArray finish(const KeepGoing &keepGoing);
    // Ends it at once, where it still runs.
    void end() noexcept;

private:
    [[noreturn]] void throwEnded();
    [[noreturn]] void throwStopped();

    QString m_concerning;
    QProcess m_process;
};
