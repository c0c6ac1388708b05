#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// rclone as a test meets it: a configuration of its own for the test's length, in which the
// remote "box:" is a folder of the local backend, and what the children that use it are to be
// given. Nothing of the user's configuration or cache is read or written.
class RcloneRemotes {
public:
    RcloneRemotes();

    bool isAvailable() const; // rclone is installed
    // The folder box: stands for.
    QString boxFolder() const { return m_folder.filePath(QStringLiteral("box")); }
    // For every rclone child, a server's too: the configuration, a cache of the test's own,
    // and one try at each thing, so that a server that is gone is told at once.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_folder;
};

// A server of rclone's own on 127.0.0.1 over a folder, started and stopped by the test, at the
// same port each time once it has one.
class RcloneServer {
public:
    enum class Protocol { WebDav, Sftp };

    RcloneServer(const RcloneRemotes &remotes, Protocol protocol, QString folder,
                 QString password = {});
    ~RcloneServer(); // stops it
    RcloneServer(const RcloneServer &) = delete;
    RcloneServer &operator=(const RcloneServer &) = delete;

    // Starts it and waits until it says it listens; false where it did not.
    bool start();
    // Ends it at once, as a cable pulled ends a connection.
    void kill();
    // The remote that reaches it, made on the fly, with the password given (a wrong one, say).
    QString remote(const QString &password = {}) const;

private:
    const RcloneRemotes &m_remotes;
    const Protocol m_protocol;
    const QString m_folder;
    const QString m_password;
    const QString m_obscured; // as the remote gives it to the server
    quint16 m_port = 0;
    QProcess m_server;
};
