#include "RcloneProcess.h"

#include "RcloneFailure.h"

#include <QStandardPaths>

#include <utility>

#include <csignal>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kRclone = QStringLiteral("rclone");

// How often a stop is looked for while rclone is busy.
constexpr int kPollMs = 100;
// What may wait for rclone beyond its pipe: enough to read on while it sends.
constexpr qint64 kMostHandedOn = qint64(4) << 20;
constexpr int kPipeBytes = 1 << 20;

} // namespace

RcloneProcess::RcloneProcess(const QStringList &arguments, QString concerning, Input input)
    : m_concerning(std::move(concerning)) {
    m_process.setProgram(kRclone);
    // A configuration whose password is not in the environment is refused rather than asked
    // for: rclone's input is the data, or nothing.
    m_process.setArguments(QStringList{QStringLiteral("--ask-password=false")} + arguments);
    if (input == Input::None)
        m_process.setStandardInputFile(QProcess::nullDevice());
    // In the child, before rclone starts: pipes of a MiB rather than 64 KiB, so that a piece
    // passes in a sixteenth of the steps, each of which wakes both processes (where the system
    // allows no more, they stay as they are); its end with this process, killed or not, so
    // that no upload goes on, half-fed, after it; and a process group of its own, so that
    // Ctrl+C stops this run, which then ends rclone and removes what it left, rather than
    // rclone amid its work.
    m_process.setChildProcessModifier([] {
        ::fcntl(STDIN_FILENO, F_SETPIPE_SZ, kPipeBytes);
        ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeBytes);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::setpgid(0, 0);
    });
    m_process.start(input == Input::None ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    if (!m_process.waitForStarted())
        throw QStandardPaths::findExecutable(kRclone).isEmpty()
            ? Failure(Failure::Code::RcloneMissing, m_concerning)
            : Failure(Failure::Code::RcloneNotStarted, m_concerning,
                      {FailureArg::text(m_process.errorString())});
}

RcloneProcess::~RcloneProcess() {
    end();
}

void RcloneProcess::write(const char *data, qint64 size, const KeepGoing &keepGoing) {
    if (m_process.state() != QProcess::Running)
        throwEnded();
    m_process.write(data, size);
    while (m_process.bytesToWrite() > kMostHandedOn) {
        if (!keepGoing())
            throwStopped();
        if (!m_process.waitForBytesWritten(kPollMs) && m_process.state() != QProcess::Running)
            throwEnded();
    }
}

void RcloneProcess::endInput(const KeepGoing &keepGoing) {
    while (m_process.bytesToWrite() > 0) {
        if (!keepGoing())
            throwStopped();
        if (!m_process.waitForBytesWritten(kPollMs) && m_process.state() != QProcess::Running)
            throwEnded();
    }
    m_process.closeWriteChannel();
}

bool RcloneProcess::hasEnded() {
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(0);
}

qint64 RcloneProcess::read(char *buffer, qint64 size, const KeepGoing &keepGoing) {
    while (m_process.bytesAvailable() == 0) {
        if (!keepGoing())
            throwStopped();
        if (m_process.state() == QProcess::NotRunning)
            return 0;
        m_process.waitForReadyRead(kPollMs);
    }
    return m_process.read(buffer, size);
}

QByteArray RcloneProcess::finish(const KeepGoing &keepGoing) {
    if (m_process.openMode() & QIODevice::WriteOnly)
        m_process.closeWriteChannel();
    while (m_process.state() != QProcess::NotRunning) {
        if (!keepGoing())
            throwStopped();
        m_process.waitForFinished(kPollMs);
    }
    if (m_process.exitStatus() != QProcess::NormalExit || m_process.exitCode() != 0)
        throwEnded();
    return m_process.readAllStandardOutput();
}

void RcloneProcess::end() noexcept {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished();
}

void RcloneProcess::throwEnded() {
    m_process.waitForFinished();
    if (m_process.exitStatus() != QProcess::NormalExit)
        throw Failure(Failure::Code::RcloneEndedEarly, m_concerning,
                      {FailureArg::text(m_process.errorString())});
    // rclone's own exit statuses for a folder and a file not found.
    const int status = m_process.exitCode();
    throw rcloneFailure(rcloneReasonIn(QString::fromLocal8Bit(m_process.readAllStandardError())),
                        status == 3 || status == 4, m_concerning);
}

void RcloneProcess::throwStopped() {
    end();
    throw Failure::stopped();
}
