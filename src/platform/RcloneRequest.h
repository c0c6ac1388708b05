#pragma once

#include "FileHandle.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>

// A connection to rclone's remote control daemon at port on 127.0.0.1, over which request has
// been sent whole; throws a Failure of concerning where it cannot be.
FileHandle connectedToDaemon(quint16 port, const QByteArray &request, const QString &concerning);

// One request to rclone's remote control daemon, sent at once over a connection of its own,
// its answer read when it is wanted. HTTP/1.0, so that the answer ends where the connection
// does. Its failures are told of concerning, the path on the remote the user knows.
class RcloneRequest {
public:
    using KeepGoing = std::function<bool()>;

    // Connects to the daemon at port and sends operation ("operations/list") with parameters;
    // throws a Failure where it cannot.
    RcloneRequest(quint16 port, const QByteArray &authorization, const QString &operation,
                  const QJsonObject &parameters, QString concerning);

    // The connection, for a wait on it: readable once the answer comes.
    int socket() const noexcept { return m_socket.fd(); }
    // Waits for the answer and returns it: rclone's, or the Failure of concerning that it tells
    // of. Throws Stopped once keepGoing says no.
    QJsonObject answer(const KeepGoing &keepGoing) const;

private:
    QString m_concerning;
    FileHandle m_socket;
};
