#include "RcloneDaemon.h"

#include "Failure.h"
#include "RcloneFailure.h"
#include "RcloneProcess.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <csignal>
#include <memory>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kDaemonProgram = QStringLiteral("rclone");
// The remote that the served folder is to the daemon: an alias of it, made in its environment
// alone, so that a URL's path names it plainly, whatever the folder's own name holds ("//" of a
// URL, which the daemon's web server would take out).
const QString kServedRemote = QStringLiteral("tessaryserved");
// How often a stop is looked for while the daemon starts.
constexpr int kDaemonPollMs = 100;

} // namespace

RcloneDaemon::RcloneDaemon(const KeepGoing &keepGoing, const QString &servedFolder) {
    const QByteArray password = QByteArray::number(QRandomGenerator::system()->generate64(), 36) +
                                QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    m_authorization = "Basic " + QByteArray("tessary:" + password).toBase64();
    m_process.setProgram(kDaemonProgram);
    QProcessEnvironment environment = RcloneProcess::environment();
    // None of the user's settings for a daemon of their own (RCLONE_RC_NO_AUTH) holds for it.
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QStringLiteral("RCLONE_RC_")))
            environment.remove(name);
    }
    // Its user and password go in its environment, which only this user can read: any local
    // user can read a command line (ps), and with them do on every remote of the configuration,
    // and on every file this user can reach, whatever the daemon can.
    environment.insert(QStringLiteral("RCLONE_RC_USER"), QStringLiteral("tessary"));
    environment.insert(QStringLiteral("RCLONE_RC_PASS"), QString::fromLatin1(password));
    if (!servedFolder.isEmpty()) {
        const QString prefix = QStringLiteral("RCLONE_CONFIG_") + kServedRemote.toUpper();
        environment.insert(prefix + QStringLiteral("_TYPE"), QStringLiteral("alias"));
        environment.insert(prefix + QStringLiteral("_REMOTE"), servedFolder);
    }
    m_process.setProcessEnvironment(environment);
    m_process.setArguments({QStringLiteral("rcd"), QStringLiteral("--ask-password=false"),
                            QStringLiteral("--rc-addr"), QStringLiteral("127.0.0.1:0"),
                            // An upload is answered once it is done, however long that takes.
                            QStringLiteral("--rc-server-write-timeout"), QStringLiteral("0")});
    if (!servedFolder.isEmpty())
        m_process.setArguments(m_process.arguments() << QStringLiteral("--rc-serve"));
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

std::unique_ptr<RcloneDownload> RcloneDaemon::download(const QString &name,
                                                       const QString &concerning) const {
    const QByteArray target = "/[" + kServedRemote.toUtf8() + ":]/" + QUrl::toPercentEncoding(name);
    return std::make_unique<RcloneDownload>(m_port, m_authorization, target, concerning);
}
