#include "RcloneDaemon.h"

#include "Failure.h"
#include "RcloneFailure.h"
#include "RcloneProcess.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include <csignal>
#include <memory>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kDaemonProgram = QStringLiteral("rclone");
// How often a stop is looked for while the daemon starts.
constexpr int kDaemonPollMs = 100;

} // namespace

RcloneDaemon::RcloneDaemon(const KeepGoing &keepGoing) {
    const QByteArray password = QByteArray::number(QRandomGenerator::system()->generate64(), 36) +
                                QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    m_authorization = "Basic " + QByteArray("tessary:" + password).toBase64();
    m_process.setProgram(kDaemonProgram);
    m_process.setProcessEnvironment(RcloneProcess::environment());
    m_process.setArguments({QStringLiteral("rcd"), QStringLiteral("--ask-password=false"),
                            QStringLiteral("--rc-addr"), QStringLiteral("127.0.0.1:0"),
                            QStringLiteral("--rc-user"), QStringLiteral("tessary"),
                            QStringLiteral("--rc-pass"), QString::fromLatin1(password),
                            // An upload is answered once it is done, however long that takes.
                            QStringLiteral("--rc-server-write-timeout"), QStringLiteral("0")});
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // Never left behind, listening, by a process that was killed; and out of reach of Ctrl+C,
    // which stops the run, whose end still asks it to remove what was under way.
    m_process.setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::setpgid(0, 0);
    });
    m_process.start(QIODevice::ReadOnly);
    if (!m_process.waitForStarted())
        throw QStandardPaths::findExecutable(kDaemonProgram).isEmpty()
            ? Failure(Failure::Code::RcloneMissing)
            : Failure(Failure::Code::RcloneNotStarted, {},
                      {FailureArg::text(m_process.errorString())});
    static const QRegularExpression listening(
        QStringLiteral("remote control on http://127\\.0\\.0\\.1:(\\d+)/"));
    QString said;
    while (m_port == 0) {
        if (!keepGoing())
            throw Failure::stopped();
        if (!m_process.waitForReadyRead(kDaemonPollMs) && m_process.state() != QProcess::Running)
            throw Failure(Failure::Code::RcloneEndedEarly, {},
                          {FailureArg::text(rcloneReasonIn(said))});
        said += QString::fromLocal8Bit(m_process.readAll());
        if (const QRegularExpressionMatch match = listening.match(said); match.hasMatch())
            m_port = match.captured(1).toUShort();
    }
}

RcloneDaemon::~RcloneDaemon() {
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished();
}

RcloneDaemon::Answer RcloneDaemon::ask(const QString &operation, const QJsonObject &parameters,
                                       const QString &concerning) const {
    const std::shared_ptr<const RcloneRequest> asked = request(operation, parameters, concerning);
    return [asked](const KeepGoing &keepGoing) { return asked->answer(keepGoing); };
}

std::unique_ptr<RcloneRequest> RcloneDaemon::request(const QString &operation,
                                                     const QJsonObject &parameters,
                                                     const QString &concerning) const {
    return std::make_unique<RcloneRequest>(m_port, m_authorization, operation, parameters,
                                           concerning);
}
