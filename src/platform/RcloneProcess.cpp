#include "RcloneProcess.h"

#include "RcloneFailure.h"

#include <QStandardPaths>

#include <utility>

#include <cerrno>
#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kRclone = QStringLiteral("rclone");

// How often a stop is looked for while rclone is busy.
constexpr int kPollMs = 100;
constexpr int kPipeBytes = 1 << 20;

// Writes to a pipe whose reader may have ended: the write fails with EPIPE instead of raising
// SIGPIPE, which this thread holds back, and which is taken away again where the write raised
// it, so that the program's own choice of what SIGPIPE does stays as it was.
ssize_t writeWithoutSigpipe(int fd, const char *data, size_t size) {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipe, &before);
    const ssize_t wrote = ::write(fd, data, size);
    const int error = errno;
    if (wrote < 0 && error == EPIPE && !sigismember(&before, SIGPIPE)) {
        const timespec now{};
        while (sigtimedwait(&pipe, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return wrote;
}

} // namespace

RcloneProcess::RcloneProcess(const QStringList &arguments, QString concerning, Stream stream)
    : m_concerning(std::move(concerning)) {
    m_process.setProgram(kRclone);
    // A configuration whose password is not in the environment is refused rather than asked
    // for: rclone's input is the data, or nothing.
    m_process.setArguments(QStringList{QStringLiteral("--ask-password=false")} + arguments);
    m_process.setStandardInputFile(QProcess::nullDevice());
    // A stream goes through a pipe of this process's own, straight between the caller's bytes
    // and rclone: QProcess would copy each of them once more through a buffer of its own.
    int pipeEnds[2] = {-1, -1};
    if (stream != Stream::None && ::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw Failure::fromSystemError(m_concerning, errno);
    const bool feeds = m_feeds = stream == Stream::Input;
    m_stream = FileHandle(pipeEnds[feeds ? 1 : 0], m_concerning);
    const FileHandle childsEnd(pipeEnds[feeds ? 0 : 1], m_concerning);
    if (m_stream.fd() >= 0 && ::fcntl(m_stream.fd(), F_SETFL, O_NONBLOCK) != 0)
        throw Failure::fromSystemError(m_concerning, errno);
    const int childsStandard = feeds ? STDIN_FILENO : STDOUT_FILENO;
    // In the child, before rclone starts: the stream's pipe as its input or output; pipes of a
    // MiB rather than 64 KiB, so that a piece passes in a sixteenth of the steps, each of which
    // wakes both processes (where the system allows no more, they stay as they are); its end
    // with this process, killed or not, so that no upload goes on, half-fed, after it; and a
    // process group of its own, so that Ctrl+C stops this run, which then ends rclone and
    // removes what it left, rather than rclone amid its work.
    m_process.setChildProcessModifier([childsEnd = childsEnd.fd(), childsStandard] {
        if (childsEnd >= 0)
            ::dup2(childsEnd, childsStandard);
        ::fcntl(STDIN_FILENO, F_SETPIPE_SZ, kPipeBytes);
        ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeBytes);
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

RcloneProcess::~RcloneProcess() {
    end();
}

void RcloneProcess::write(const char *data, qint64 size, const KeepGoing &keepGoing) {
    while (size > 0) {
        const ssize_t wrote = writeWithoutSigpipe(m_stream.fd(), data, size_t(size));
        if (wrote > 0) {
            data += wrote;
            size -= wrote;
        } else if (errno == EPIPE) {
            throwEnded();
        } else if (errno == EAGAIN) {
            waitForStream(POLLOUT, keepGoing);
        } else if (errno != EINTR) {
            throw Failure::fromSystemError(m_concerning, errno);
        }
    }
}

void RcloneProcess::endInput() {
    m_stream.close();
}

bool RcloneProcess::hasEnded() {
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(0);
}

qint64 RcloneProcess::read(char *buffer, qint64 size, const KeepGoing &keepGoing) {
    for (;;) {
        const ssize_t got = ::read(m_stream.fd(), buffer, size_t(size));
        if (got >= 0)
            return got; // nothing at its end
        if (errno == EAGAIN)
            waitForStream(POLLIN, keepGoing);
        else if (errno != EINTR)
            throw Failure::fromSystemError(m_concerning, errno);
    }
}

void RcloneProcess::waitForStream(short ready, const KeepGoing &keepGoing) {
    for (;;) {
        if (!keepGoing())
            throwStopped();
        // Ready, or its end gone, which the next read or write tells.
        pollfd stream{m_stream.fd(), ready, 0};
        if (::poll(&stream, 1, kPollMs) > 0)
            return;
        // What it prints beside meanwhile is taken in, so that it never waits on a full pipe
        // of its own while this process waits on it.
        m_process.waitForFinished(0);
    }
}

QByteArray RcloneProcess::finish(const KeepGoing &keepGoing) {
    QByteArray rest;
    if (m_feeds) {
        endInput();
    } else if (m_stream.fd() >= 0) {
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
