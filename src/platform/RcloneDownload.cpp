#include "RcloneDownload.h"

#include "Failure.h"
#include "RcloneFailure.h"
#include "RcloneRequest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>

namespace {

// How often a stop is looked for while the daemon is busy.
constexpr int kDownloadPollMs = 100;
// Far beyond the head of any answer of the daemon's.
constexpr qsizetype kLargestHead = 64 << 10;

} // namespace

RcloneDownload::RcloneDownload(quint16 port, const QByteArray &authorization,
                               const QByteArray &target, QString concerning)
    : m_concerning(std::move(concerning))
    , m_socket(connectedToDaemon(
          port,
          "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\nAuthorization: " + authorization +
              "\r\n\r\n",
          m_concerning)) {}

qint64 RcloneDownload::receive(char *buffer, qint64 size, const KeepGoing &keepGoing) {
    for (;;) {
        const ssize_t got = ::recv(m_socket.fd(), buffer, size_t(size), MSG_DONTWAIT);
        if (got >= 0)
            return got;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!keepGoing())
                throw Failure::stopped();
            pollfd ready{m_socket.fd(), POLLIN, 0};
            ::poll(&ready, 1, kDownloadPollMs);
        } else if (errno == ECONNRESET) {
            return 0; // its end, which the caller tells of
        } else if (errno != EINTR) {
            throw Failure::fromSystemError(m_concerning, errno);
        }
    }
}

void RcloneDownload::readHead(const KeepGoing &keepGoing) {
    QByteArray answer;
    qsizetype head = -1;
    while ((head = answer.indexOf("\r\n\r\n")) < 0 && answer.size() < kLargestHead) {
        char buffer[4096];
        const qint64 got = receive(buffer, sizeof buffer, keepGoing);
        if (got == 0)
            break;
        answer.append(buffer, got);
    }
    const QList<QByteArray> status = answer.left(answer.indexOf("\r\n")).split(' ');
    qint64 length = -1;
    for (const QByteArray &line : answer.left(head).split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(int(std::strlen("content-length:"))).trimmed().toLongLong();
    }
    if (head < 0 || status.size() < 2 || length < 0)
        throw Failure(Failure::Code::RcloneAnswerUnreadable, m_concerning,
                      {FailureArg::text(QString::fromUtf8(answer.left(200)))});
    m_early = answer.mid(head + 4);
    if (status[1] == "200") {
        m_left = length;
        return;
    }
    // What went wrong is told in the body, as the daemon tells it of every request.
    char buffer[4096];
    while (m_early.size() < length && m_early.size() < kLargestHead) {
        const qint64 got = receive(buffer, sizeof buffer, keepGoing);
        if (got == 0)
            break;
        m_early.append(buffer, got);
    }
    const QString error = QJsonDocument::fromJson(m_early).object().value(u"error").toString(
        QString::fromUtf8(m_early.left(200)));
    throw rcloneFailure(error, status[1] == "404", m_concerning);
}

qint64 RcloneDownload::read(char *buffer, qint64 size, const KeepGoing &keepGoing) {
    if (m_left < 0)
        readHead(keepGoing);
    const qint64 wanted = std::min(size, m_left);
    if (wanted == 0)
        return 0;
    qint64 got = 0;
    if (!m_early.isEmpty()) {
        got = std::min<qint64>(wanted, m_early.size());
        std::memcpy(buffer, m_early.constData(), size_t(got));
        m_early.remove(0, got);
    } else {
        got = receive(buffer, wanted, keepGoing);
        if (got == 0)
            throw Failure(Failure::Code::CutShortWhileJoined, m_concerning);
    }
    m_left -= got;
    return got;
}
