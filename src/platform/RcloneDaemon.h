#pragma once

#include "RcloneDownload.h"
#include "RcloneRequest.h"

#include <QJsonObject>
#include <QProcess>
#include <QString>

#include <functional>
#include <memory>

// rclone's remote control daemon (rclone rcd), a child process listening on 127.0.0.1 behind a
// password of this process's own, and ending with it: the small things a run asks of a remote
// (its features, a listing, a move, a removal) cost a request each rather than an rclone
// started and ended each. Its failures are told as RcloneProcess tells them.
class RcloneDaemon {
public:
    using KeepGoing = std::function<bool()>;

    // Starts it and waits until it listens; throws a Failure where it cannot be started
    // (RcloneMissing, if rclone is not there), and Stopped once keepGoing says no. It serves
    // the files of servedFolder ("backup:sets"), where one is given, for download().
    explicit RcloneDaemon(const KeepGoing &keepGoing, const QString &servedFolder = {});
    ~RcloneDaemon();
    RcloneDaemon(const RcloneDaemon &) = delete;
    RcloneDaemon &operator=(const RcloneDaemon &) = delete;

    // Asks for operation ("operations/list") with parameters at once, and returns what waits
    // for the answer: rclone's, or the Failure of concerning that it tells of.
    using Answer = std::function<QJsonObject(const KeepGoing &keepGoing)>;
    Answer ask(const QString &operation, const QJsonObject &parameters,
               const QString &concerning) const;
    // The same request, for a caller that waits on its connection beside others of its own.
    std::unique_ptr<RcloneRequest> request(const QString &operation, const QJsonObject &parameters,
                                           const QString &concerning) const;

    // The file name in the served folder, as it comes, read over a connection of its own: no
    // rclone is started for it.
    std::unique_ptr<RcloneDownload> download(const QString &name, const QString &concerning) const;

private:
    QProcess m_process;
    QByteArray m_authorization; // "Basic ..."
    quint16 m_port = 0;
};
