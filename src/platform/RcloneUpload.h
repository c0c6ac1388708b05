#pragma once

#include "FileHandle.h"
#include "RcloneDaemon.h"
#include "RcloneRequest.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// An upload of exactly size bytes to a file on a remote, which rclone's daemon fetches from
// this process (operations/copyurl): they are served once, over 127.0.0.1, under a path no one
// else knows, straight from the caller's bytes. No rclone is started for it, and none of its
// bytes touches the local disk; the daemon sends them on as they come, with their size, and
// fails the upload where fewer come. Its failures are told of concerning, the path on the
// remote the user knows, as the daemon words them.
class RcloneUpload {
public:
    using KeepGoing = std::function<bool()>;

    // Asks the daemon for it at once; throws a Failure where it cannot.
    RcloneUpload(const RcloneDaemon &daemon, const QString &remote, const QString &file,
                 qint64 size, QString concerning);
    ~RcloneUpload(); // cuts it, where it is under way
    RcloneUpload(const RcloneUpload &) = delete;
    RcloneUpload &operator=(const RcloneUpload &) = delete;

    const QString &concerning() const noexcept { return m_concerning; }

    // Hands size bytes on, returning once all of them are in the connection's buffer: they go
    // there straight from data. Throws the failure it ended with, where it ended meanwhile, and
    // Stopped once keepGoing says no.
    void write(const char *data, qint64 size, const KeepGoing &keepGoing);
    // Closes the connection it is fed through, so that it ends on its own while this process
    // goes on: an upload given fewer bytes than its size fails.
    void endInput();
    // Whether the daemon has answered, without waiting.
    bool hasEnded() const;
    // Ends its input, waits for the daemon's answer and throws the failure it tells of.
    void finish(const KeepGoing &keepGoing);
    // Cuts it where it is under way, and waits a while for the daemon to give it up.
    void end() noexcept;

private:
    // Waits until the daemon fetches the bytes and takes that connection.
    void accept(const KeepGoing &keepGoing);
    // Waits until the connection is ready for events, or the daemon answers: then throws what
    // it answered, its failure, or that it ended early.
    void waitFor(int socket, short events, const KeepGoing &keepGoing);
    [[noreturn]] void throwAnswered(const KeepGoing &keepGoing);

    QString m_concerning;
    qint64 m_size = 0;
    QByteArray m_path; // the one it is fetched by: "/" and a random token
    FileHandle m_listener;
    FileHandle m_fetch; // the daemon's fetch of the bytes, once taken
    std::unique_ptr<RcloneRequest> m_request;
    bool m_answered = false;
};
