#include "RcloneProcess.h"

#include "RcloneFailure.h"

#include <QStandardPaths>

#include <utility>

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kRclone = QStringLiteral("rclone");

// How often a stop is looked for while rclone is busy.
constexpr int kPollMs = 100;

} // namespace

RcloneProcess::RcloneProcess(const QStringList &arguments, QString concerning)
    : m_concerning(std::move(concerning)) {
    m_process.setProgram(kRclone);
    m_process.setProcessEnvironment(environment());
    // A configuration whose password is not in the environment is refused rather than asked
    // for: rclone reads nothing from its input.
    m_process.setArguments(QStringList{QStringLiteral("--ask-password=false")} + arguments);
    m_process.setStandardInputFile(QProcess::nullDevice());
    // Its end with this process, killed or not, so that nothing goes on after it; and a
    // process group of its own, so that Ctrl+C stops this run, which then ends rclone, rather
    // than rclone amid its work.
    m_process.setChildProcessModifier([] {
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

QByteArray RcloneProcess::finish(const KeepGoing &keepGoing) {
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
