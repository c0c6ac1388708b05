#include "RcloneDaemon.h"

#include "Failure.h"
#include "FileHandle.h"
#include "RcloneFailure.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kDaemonProgram = QStringLiteral("rclone");
// How often a stop is looked for while the daemon works.
constexpr int kDaemonPollMs = 100;

// One request to the daemon, sent at once over a connection of its own; its answer read when
// wanted. HTTP/1.0, so that the answer ends where the connection does.
class Request {
public:
    Request(quint16 port, const QByteArray &authorization, const QString &operation,
            const QJsonObject &parameters, QString concerning)
        : m_concerning(std::move(concerning)) {
        m_socket = FileHandle(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0), m_concerning);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (m_socket.fd() < 0 ||
            ::connect(m_socket.fd(), reinterpret_cast<const sockaddr *>(&address),
                      sizeof address) != 0)
            throw Failure::fromSystemError(m_concerning, errno);
        const QByteArray body = QJsonDocument(parameters).toJson(QJsonDocument::Compact);
        const QByteArray request =
            "POST /" + operation.toUtf8() +
            " HTTP/1.0\r\nHost: 127.0.0.1\r\nAuthorization: " + authorization +
            "\r\nContent-Type: application/json\r\nContent-Length: " +
            QByteArray::number(body.size()) + "\r\n\r\n" + body;
        for (qsizetype sent = 0; sent < request.size();) {
            const ssize_t wrote = ::send(m_socket.fd(), request.constData() + sent,
                                         size_t(request.size() - sent), MSG_NOSIGNAL);
            if (wrote < 0 && errno != EINTR)
                throw Failure::fromSystemError(m_concerning, errno);
            sent += wrote > 0 ? wrote : 0;
        }
    }

    QJsonObject answer(const RcloneDaemon::KeepGoing &keepGoing) const {
        QByteArray answer;
        char buffer[65536];
        for (;;) {
            if (!keepGoing())
                throw Failure::stopped();
            pollfd ready{m_socket.fd(), POLLIN, 0};
            if (::poll(&ready, 1, kDaemonPollMs) == 0)
                continue;
            const ssize_t got = ::recv(m_socket.fd(), buffer, sizeof buffer, 0);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw Failure::fromSystemError(m_concerning, errno);
            if (got == 0)
                break;
            answer.append(buffer, got);
        }
        const qsizetype head = answer.indexOf("\r\n\r\n");
        const QList<QByteArray> status = answer.left(answer.indexOf("\r\n")).split(' ');
        QJsonObject told = QJsonDocument::fromJson(answer.mid(head + 4)).object();
        if (head < 0 || status.size() < 2 || (status[1] != "200" && !told.contains(u"error")))
            throw Failure(Failure::Code::RcloneAnswerUnreadable, m_concerning,
                          {FailureArg::text(QString::fromUtf8(answer.left(200)))});
        if (status[1] != "200")
            throw rcloneFailure(told.value(u"error").toString(), status[1] == "404", m_concerning);
        return told;
    }

private:
    QString m_concerning;
    FileHandle m_socket;
};

} // namespace

RcloneDaemon::RcloneDaemon(const KeepGoing &keepGoing) {
    const QByteArray password = QByteArray::number(QRandomGenerator::system()->generate64(), 36) +
                                QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    m_authorization = "Basic " + QByteArray("tessary:" + password).toBase64();
    m_process.setProgram(kDaemonProgram);
    m_process.setArguments({QStringLiteral("rcd"), QStringLiteral("--ask-password=false"),
                            QStringLiteral("--rc-addr"), QStringLiteral("127.0.0.1:0"),
                            QStringLiteral("--rc-user"), QStringLiteral("tessary"),
                            QStringLiteral("--rc-pass"), QString::fromLatin1(password)});
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
    const auto request =
        std::make_shared<const Request>(m_port, m_authorization, operation, parameters, concerning);
    return [request](const KeepGoing &keepGoing) { return request->answer(keepGoing); };
}
