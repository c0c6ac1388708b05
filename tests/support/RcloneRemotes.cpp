#include "RcloneRemotes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

const QString kUser = QStringLiteral("tessary");

// A password as rclone's configuration keeps it.
QString obscured(const RcloneRemotes &remotes, const QString &password) {
    QProcess obscure;
    obscure.setProcessEnvironment(remotes.environment());
    obscure.start(QStringLiteral("rclone"), {QStringLiteral("obscure"), password});
    obscure.waitForFinished();
    return QString::fromLatin1(obscure.readAllStandardOutput()).trimmed();
}

} // namespace

RcloneRemotes::RcloneRemotes() {
    QDir(m_folder.path()).mkpath(QStringLiteral("box"));
    QFile config(m_folder.filePath(QStringLiteral("rclone.conf")));
    if (config.open(QIODevice::WriteOnly))
        config.write("[box]\ntype = alias\nremote = " + boxFolder().toUtf8() + "\n");
}

bool RcloneRemotes::isAvailable() const {
    return !QStandardPaths::findExecutable(QStringLiteral("rclone")).isEmpty();
}

QProcessEnvironment RcloneRemotes::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RCLONE_CONFIG"),
                       m_folder.filePath(QStringLiteral("rclone.conf")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                       m_folder.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("RCLONE_RETRIES"), QStringLiteral("1"));
    environment.insert(QStringLiteral("RCLONE_LOW_LEVEL_RETRIES"), QStringLiteral("1"));
    return environment;
}

RcloneServer::RcloneServer(const RcloneRemotes &remotes, Protocol protocol, QString folder,
                           QString password)
    : m_remotes(remotes)
    , m_protocol(protocol)
    , m_folder(std::move(folder))
    , m_password(std::move(password))
    , m_obscured(obscured(remotes, m_password.isEmpty() ? kUser : m_password)) {
    m_server.setProcessEnvironment(remotes.environment());
    m_server.setProcessChannelMode(QProcess::MergedChannels);
}

RcloneServer::~RcloneServer() {
    kill();
}

bool RcloneServer::start() {
    QStringList arguments{
        QStringLiteral("serve"),
        m_protocol == Protocol::WebDav ? QStringLiteral("webdav") : QStringLiteral("sftp"),
        m_folder, QStringLiteral("--addr"), QStringLiteral("127.0.0.1:%1").arg(m_port),
        // Changes the test makes to the folder itself are seen at once.
        QStringLiteral("--dir-cache-time"), QStringLiteral("0s")};
    if (!m_password.isEmpty() || m_protocol == Protocol::Sftp)
        arguments << QStringLiteral("--user") << kUser << QStringLiteral("--pass")
                  << (m_password.isEmpty() ? kUser : m_password);
    m_server.start(QStringLiteral("rclone"), arguments);
    static const QRegularExpression listening(
        QStringLiteral("(?:started on http://|listening on )127\\.0\\.0\\.1:(\\d+)"));
    QString said;
    const QDeadlineTimer deadline(30'000);
    while (!deadline.hasExpired() && m_server.state() != QProcess::NotRunning) {
        m_server.waitForReadyRead(100);
        said += QString::fromLocal8Bit(m_server.readAll());
        if (const QRegularExpressionMatch match = listening.match(said); match.hasMatch()) {
            m_port = match.captured(1).toUShort();
            return true;
        }
    }
    return false;
}

void RcloneServer::kill() {
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.kill();
    m_server.waitForFinished();
}

QString RcloneServer::remote(const QString &password) const {
    const QString pass = password.isEmpty() ? m_obscured : obscured(m_remotes, password);
    if (m_protocol == Protocol::Sftp)
        return QStringLiteral(":sftp,host=127.0.0.1,port=%1,user=%2,pass=%3:")
            .arg(QString::number(m_port), kUser, pass);
    const QString url = QStringLiteral(":webdav,url='http://127.0.0.1:%1/'").arg(m_port);
    if (m_password.isEmpty() && password.isEmpty())
        return url + u':';
    return url + QStringLiteral(",user=%1,pass=%2:").arg(kUser, pass);
}
