#pragma once

#include "FileHandle.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The bytes of a file on a remote as rclone's daemon serves them (rclone rcd --rc-serve), read
// as they come over a connection of their own: no rclone is started for it. Its failures are
// told of concerning, the path on the remote the user knows.
class RcloneDownload {
public:
    using KeepGoing = std::function<bool()>;

    // Asks the daemon at port for target ("/[remote:]/name", as a URL's path) at once; throws a
    // Failure where it cannot.
    RcloneDownload(quint16 port, const QByteArray &authorization, const QByteArray &target,
                   QString concerning);

    const QString &concerning() const noexcept { return m_concerning; }

    // Reads up to size bytes of the file; 0 only at its end. Throws what the daemon tells of (a
    // file not there: RemoteNotFound), CutShortWhileJoined where its bytes stop before as many
    // came as it said it holds, and Stopped once keepGoing says no.
    qint64 read(char *buffer, qint64 size, const KeepGoing &keepGoing);

private:
    void readHead(const KeepGoing &keepGoing);
    // Reads what the connection holds next into buffer; 0 only at its end.
    qint64 receive(char *buffer, qint64 size, const KeepGoing &keepGoing);

    QString m_concerning;
    FileHandle m_socket;
    QByteArray m_early; // of the file's bytes, those that came with the answer's head
    qint64 m_left = -1; // of the file's bytes, those not yet read, once the head is read
};
