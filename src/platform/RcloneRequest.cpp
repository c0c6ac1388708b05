#include "RcloneRequest.h"

#include "Failure.h"
#include "RcloneFailure.h"

#include <QJsonDocument>

#include <cerrno>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

// How often a stop is looked for while the daemon works.
constexpr int kAnswerPollMs = 100;

} // namespace

FileHandle connectedToDaemon(quint16 port, const QByteArray &request, const QString &concerning) {
    FileHandle socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0), concerning);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (socket.fd() < 0 ||
        ::connect(socket.fd(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        throw Failure::fromSystemError(concerning, errno);
    for (qsizetype sent = 0; sent < request.size();) {
        const ssize_t wrote = ::send(socket.fd(), request.constData() + sent,
                                     size_t(request.size() - sent), MSG_NOSIGNAL);
        if (wrote < 0 && errno != EINTR)
            throw Failure::fromSystemError(concerning, errno);
        sent += wrote > 0 ? wrote : 0;
    }
    return socket;
}

namespace {

QByteArray postOf(const QByteArray &authorization, const QString &operation,
                  const QJsonObject &parameters) {
    const QByteArray body = QJsonDocument(parameters).toJson(QJsonDocument::Compact);
    return "POST /" + operation.toUtf8() +
           " HTTP/1.0\r\nHost: 127.0.0.1\r\nAuthorization: " + authorization +
           "\r\nContent-Type: application/json\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

RcloneRequest::RcloneRequest(quint16 port, const QByteArray &authorization,
                             const QString &operation, const QJsonObject &parameters,
                             QString concerning)
    : m_concerning(std::move(concerning))
    , m_socket(
          connectedToDaemon(port, postOf(authorization, operation, parameters), m_concerning)) {}

QJsonObject RcloneRequest::answer(const KeepGoing &keepGoing) const {
    QByteArray answer;
    char buffer[65536];
    for (;;) {
        if (!keepGoing())
            throw Failure::stopped();
        pollfd ready{m_socket.fd(), POLLIN, 0};
        if (::poll(&ready, 1, kAnswerPollMs) == 0)
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
