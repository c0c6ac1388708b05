#include "RemotePath.h"

#include <QRegularExpression>

#include <utility>

namespace {

// Where the remote's part ends, at the colon after its name and options, skipping what is
// quoted in the options ('a:b' or "a:b"); -1 where there is no such colon.
qsizetype endOfRemote(const QString &text, qsizetype from) {
    QChar quote;
    for (qsizetype at = from; at < text.size(); ++at) {
        const QChar c = text[at];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u':') {
            return at;
        }
    }
    return -1;
}

} // namespace

RemotePath::RemotePath(QString remote, QString path)
    : m_remote(std::move(remote))
    , m_path(std::move(path)) {
    while (m_path.size() > 1 && m_path.endsWith(u'/'))
        m_path.chop(1);
}

std::optional<RemotePath> RemotePath::parse(const QString &text) {
    if (text.startsWith(u':')) {
        const qsizetype end = endOfRemote(text, 1);
        if (end < 2)
            return std::nullopt;
        return RemotePath(text.left(end + 1), text.mid(end + 1));
    }
    // The names rclone config accepts (letters, digits, "_", "-", ".", "+", "@" and blanks
    // inside), so that a slash before the colon makes the path a local one.
    static const QRegularExpression name(
        QStringLiteral("^[\\w.+@-](?:[\\w.+@ -]*[\\w.+@-])?(?:,|:)"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = name.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qsizetype end = endOfRemote(text, match.capturedLength() - 1);
    if (end < 0)
        return std::nullopt;
    return RemotePath(text.left(end + 1), text.mid(end + 1));
}

QString RemotePath::configuredName() const {
    if (m_remote.startsWith(u':'))
        return {};
    const qsizetype options = m_remote.indexOf(u',');
    return m_remote.left(options >= 0 ? options : m_remote.size() - 1);
}

QString RemotePath::fileName() const {
    return m_path.mid(m_path.lastIndexOf(u'/') + 1);
}

RemotePath RemotePath::parent() const {
    const qsizetype slash = m_path.lastIndexOf(u'/');
    if (slash < 0)
        return RemotePath(m_remote, {});
    return RemotePath(m_remote, slash == 0 ? QStringLiteral("/") : m_path.left(slash));
}

RemotePath RemotePath::child(const QString &name) const {
    if (m_path.isEmpty() || m_path.endsWith(u'/'))
        return RemotePath(m_remote, m_path + name);
    return RemotePath(m_remote, m_path + u'/' + name);
}
