#include "RcloneProcess.h"

#include "RcloneFailure.h"

#include <QStandardPaths>

#include <utility>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kRclone = QStringLiteral("rclone");

// How often a stop is looked for while rclone is busy.
constexpr int kPollMs = 100;
constexpr int kPipeBytes = 1 << 20;

} // namespace

RcloneProcess::RcloneProcess(const QStringList &arguments, QString concerning, Stream stream)
    : m_concerning(std::move(concerning)) {
    m_process.setProgram(kRclone);
    m_process.setProcessEnvironment(environment());
    // A configuration whose password is not in the environment is refused rather than asked
    // for: rclone's input is the data, or nothing.
    m_process.setArguments(QStringList{QStringLiteral("--ask-password=false")} + arguments);
    m_process.setStandardInputFile(QProcess::nullDevice());
    // A stream goes through a pipe of this process's own, straight between rclone and the
    // caller's buffer: QProcess would copy each of its bytes once more through a buffer of its
    // own.
    int pipeEnds[2] = {-1, -1};
    if (stream == Stream::Output && ::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw Failure::fromSystemError(m_concerning, errno);
    m_stream = FileHandle(pipeEnds[0], m_concerning);
    const FileHandle childsEnd(pipeEnds[1], m_concerning);
    if (m_stream.fd() >= 0 && ::fcntl(m_stream.fd(), F_SETFL, O_NONBLOCK) != 0)
        throw Failure::fromSystemError(m_concerning, errno);
    // In the child, before rclone starts: the stream's pipe as its output, of a MiB rather
    // than 64 KiB, so that a piece passes in a sixteenth of the steps, each of which wakes both
    // processes (where the system allows no more, it stays as it is); its end with this
    // process, killed or not, so that nothing goes on after it; and a process group of its
    // own, so that Ctrl+C stops this run, which then ends rclone and removes what it left,
    // rather than rclone amid its work.
    m_process.setChildProcessModifier([childsEnd = childsEnd.fd()] {
        if (childsEnd >= 0) {
            ::dup2(childsEnd, STDOUT_FILENO);
            ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeBytes);
        }
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::setpgid(0, 0);
    });
    m_process.start(QIODevice::ReadOnly);
    if (!m_process.waitForStarted())
        throw QStandardPaths::findExecutable(kRclone).isEmpty()
            ? Failure(Failure::Code::RcloneMissing, m_concerning)
            : Failure(Failure::Code::RcloneNotStarted, m_concerning,
                      {FailureArg::text(m_process.errorString())});
}

QProcessEnvironment RcloneProcess::environment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TCELL_MINIMIZE"), QStringLiteral("1"));
    return environment;
}

RcloneProcess::~RcloneProcess() {
    end();
}

qint64 RcloneProcess::read(char *buffer, qint64 size, const KeepGoing &keepGoing) {
    for (;;) {
        const ssize_t got = ::read(m_stream.fd(), buffer, size_t(size));
        if (got >= 0)
            return got; // nothing at its end
        if (errno == EAGAIN)
            waitForStream(keepGoing);
        else if (errno != EINTR)
            throw Failure::fromSystemError(m_concerning, errno);
    }
}

void RcloneProcess::waitForStream(const KeepGoing &keepGoing) {
    for (;;) {
        if (!keepGoing())
            throwStopped();
        // Ready, or its end gone, which the next read or write tells.
        pollfd stream{m_stream.fd(), POLLIN, 0};
        if (::poll(&stream, 1, kPollMs) > 0)
            return;
        // What it prints beside meanwhile is taken in, so that it never waits on a full pipe
        // of its own while this process waits on it.
        m_process.waitForFinished(0);
    }
}

QByteArray RcloneProcess::finish(const KeepGoing &keepGoing) {
    QByteArray rest;
    if (m_stream.fd() >= 0) {
        // Read to its end, so that it never waits to print what this process would not take.
        char buffer[65536];
        while (const qint64 got = read(buffer, sizeof buffer, keepGoing))
            rest.append(buffer, got);
    }
    while (m_process.state() != QProcess::NotRunning) {
        if (!keepGoing())
            throwStopped();
        m_process.waitForFinished(kPollMs);
    }
    if (m_process.exitStatus() != QProcess::NormalExit || m_process.exitCode() != 0)
        throwEnded();
    return rest + m_process.readAllStandardOutput();
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
