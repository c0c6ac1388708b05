#include "RcloneUpload.h"

#include "Failure.h"

#include <QJsonDocument>
#include <QRandomGenerator>

#include <cerrno>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

// How often a stop is looked for while the daemon is busy.
constexpr int kUploadPollMs = 100;
// How long a cut upload is given to be given up before the request for it is dropped.
constexpr int kGivenUpMs = 5000;
// Far beyond the request that the daemon's fetch makes.
constexpr qsizetype kLargestFetchHead = 16 << 10;
// Far beyond the connections that come to the port before the daemon's.
constexpr size_t kMostComing = 64;

FileHandle listenerOn(quint16 &port, const QString &concerning) {
    FileHandle listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0),
                        concerning);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener.fd() < 0 ||
        ::bind(listener.fd(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(listener.fd(), 4) != 0 ||
        ::getsockname(listener.fd(), reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw Failure::fromSystemError(concerning, errno);
    port = ntohs(address.sin_port);
    return listener;
}

} // namespace

RcloneUpload::RcloneUpload(const RcloneDaemon &daemon, const QString &remote, const QString &file,
                           qint64 size, QString concerning)
    : m_concerning(std::move(concerning))
    , m_size(size) {
    quint16 port = 0;
    m_listener = listenerOn(port, m_concerning);
    m_path = '/' + QByteArray::number(QRandomGenerator::system()->generate64(), 36) +
             QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    const QString url =
        QStringLiteral("http://127.0.0.1:%1").arg(port) + QString::fromLatin1(m_path);
    m_request = daemon.request(QStringLiteral("operations/copyurl"),
                               {{QStringLiteral("fs"), remote},
                                {QStringLiteral("remote"), file},
                                {QStringLiteral("url"), url},
                                {QStringLiteral("autoFilename"), false}},
                               m_concerning);
}

RcloneUpload::~RcloneUpload() {
    end();
}

void RcloneUpload::accept(const KeepGoing &keepGoing) {
    // Every connection made to the port is read beside the others, so that one that sends
    // nothing, or slowly, holds none back: the daemon's is the one that asks for the path.
    struct Coming {
        FileHandle socket;
        QByteArray head;
    };
    std::vector<Coming> coming;
    while (m_fetch.fd() < 0) {
        if (!keepGoing()) {
            end();
            throw Failure::stopped();
        }
        std::vector<pollfd> ready{{m_request->socket(), POLLIN, 0}, {m_listener.fd(), POLLIN, 0}};
        for (const Coming &one : coming)
            ready.push_back({one.socket.fd(), POLLIN, 0});
        if (::poll(ready.data(), nfds_t(ready.size()), kUploadPollMs) <= 0)
            continue;
        if (ready[0].revents != 0)
            throwAnswered(keepGoing);
        for (size_t i = coming.size(); i-- > 0 && m_fetch.fd() < 0;) {
            if (ready[i + 2].revents == 0)
                continue;
            Coming &one = coming[i];
            char buffer[4096];
            const ssize_t got = ::recv(one.socket.fd(), buffer, sizeof buffer, 0);
            if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
                continue;
            one.head.append(buffer, got > 0 ? got : 0);
            const bool whole = one.head.contains("\r\n\r\n");
            if (whole && one.head.startsWith("GET " + m_path + ' '))
                m_fetch = std::move(one.socket);
            // Anyone else who comes to the port is sent away.
            else if (got <= 0 || whole || one.head.size() >= kLargestFetchHead)
                coming.erase(coming.begin() + qsizetype(i));
        }
        if (m_fetch.fd() >= 0 || ready[1].revents == 0)
            continue;
        FileHandle taken(::accept4(m_listener.fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC),
                         m_concerning);
        if (taken.fd() >= 0) {
            if (coming.size() >= kMostComing)
                coming.erase(coming.begin()); // the one that has waited longest, sent away
            coming.push_back({std::move(taken), {}});
        } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNABORTED &&
                   errno != EINTR) { // else gone before it was taken
            throw Failure::fromSystemError(m_concerning, errno);
        }
    }
    m_listener.close();
    const QByteArray answer = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                              "Content-Length: " +
                              QByteArray::number(m_size) + "\r\nConnection: close\r\n\r\n";
    write(answer.constData(), answer.size(), keepGoing);
}

void RcloneUpload::write(const char *data, qint64 size, const KeepGoing &keepGoing) {
    if (m_fetch.fd() < 0)
        accept(keepGoing);
    while (size > 0) {
        const ssize_t wrote = ::send(m_fetch.fd(), data, size_t(size), MSG_NOSIGNAL);
        if (wrote > 0) {
            data += wrote;
            size -= wrote;
        } else if (errno == EAGAIN) {
            waitFor(m_fetch.fd(), POLLOUT, keepGoing);
        } else if (errno == EPIPE || errno == ECONNRESET) {
            throwAnswered(keepGoing); // the daemon gave the upload up, and tells why
        } else if (errno != EINTR) {
            throw Failure::fromSystemError(m_concerning, errno);
        }
    }
}

void RcloneUpload::waitFor(int socket, short events, const KeepGoing &keepGoing) {
    for (;;) {
        if (!keepGoing()) {
            end();
            throw Failure::stopped();
        }
        pollfd ready[2] = {{socket, events, 0}, {m_request->socket(), POLLIN, 0}};
        if (::poll(ready, 2, kUploadPollMs) <= 0)
            continue;
        if (ready[1].revents != 0)
            throwAnswered(keepGoing);
        if (ready[0].revents != 0)
            return; // ready, or its end gone, which the next call on it tells
    }
}

void RcloneUpload::throwAnswered(const KeepGoing &keepGoing) {
    m_answered = true;
    const QJsonObject told = m_request->answer(keepGoing);
    throw Failure(Failure::Code::RcloneEndedEarly, m_concerning,
                  {FailureArg::text(QString::fromUtf8(QJsonDocument(told).toJson()))});
}

void RcloneUpload::endInput() {
    m_fetch.close();
    m_listener.close();
}

bool RcloneUpload::hasEnded() const {
    pollfd ready{m_request->socket(), POLLIN, 0};
    return m_answered || ::poll(&ready, 1, 0) > 0;
}

void RcloneUpload::finish(const KeepGoing &keepGoing) {
    // Nothing to send is still fetched.
    if (m_size == 0 && m_listener.fd() >= 0)
        accept(keepGoing);
    endInput();
    m_answered = true;
    m_request->answer(keepGoing);
}

void RcloneUpload::end() noexcept {
    endInput();
    if (m_answered)
        return;
    m_answered = true;
    pollfd ready{m_request->socket(), POLLIN, 0};
    while (::poll(&ready, 1, kGivenUpMs) < 0 && errno == EINTR) {
    }
}
