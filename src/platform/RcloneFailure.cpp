#include "RcloneFailure.h"

#include "RemotePath.h"

#include <QRegularExpression>
#include <QStringList>

#include <initializer_list>

namespace {

bool saysAny(const QString &reason, std::initializer_list<const char *> words) {
    for (const char *word : words) {
        if (reason.contains(QLatin1StringView(word), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QString rcloneReasonIn(const QString &errors) {
    const QStringList lines = errors.split(u'\n', Qt::SkipEmptyParts);
    QString reason;
    for (auto line = lines.crbegin(); line != lines.crend() && reason.isEmpty(); ++line) {
        if (line->contains(QStringLiteral("Failed to")))
            reason = *line;
    }
    for (auto line = lines.crbegin(); line != lines.crend() && reason.isEmpty(); ++line) {
        if (line->contains(QStringLiteral("ERROR")))
            reason = *line;
    }
    if (reason.isEmpty() && !lines.isEmpty())
        reason = lines.last();
    static const QRegularExpression noise(
        QStringLiteral("^(\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\s+)?(ERROR\\s*:\\s*)?"
                       "(Failed to [\\w-]+( with \\d+ errors)?: )?(last error was: )?"));
    return reason.remove(noise).trimmed();
}

Failure rcloneFailure(const QString &reason, bool notFound, const QString &concerning) {
    using Code = Failure::Code;
    const QList<FailureArg> why{FailureArg::text(reason)};
    if (saysAny(reason, {"didn't find section in config file"})) {
        const std::optional<RemotePath> remote = RemotePath::parse(concerning);
        return Failure(Code::RemoteNotConfigured, concerning,
                       {FailureArg::name(remote ? remote->configuredName() : concerning)});
    }
    if (saysAny(reason, {"quota", "no space left", "insufficient storage", "507 ", "storage full",
                         "not enough space", "disk full"}))
        return Failure(Code::RemoteQuotaExceeded, concerning, why);
    if (saysAny(reason, {"401 ", "unauthorized", "unable to authenticate", "authentication failed",
                         "invalid_grant", "invalid_client", "login failed", "bad credentials"}))
        return Failure(Code::RemoteCredentialsRefused, concerning, why);
    if (saysAny(reason, {"connection refused", "connection reset", "broken pipe", "unexpected eof",
                         ": eof", "timeout", "no route to host", "network is unreachable",
                         "dial tcp", "use of closed network connection", "connection lost",
                         "no such host", "server closed"}))
        return Failure(Code::RemoteConnectionLost, concerning, why);
    if (notFound || saysAny(reason, {"not found", "doesn't exist"}))
        return Failure(Code::RemoteNotFound, concerning, why);
    return Failure(Code::RemoteFailed, concerning, why);
}
