#include "remote/RemoteFolder.h"

#include "Failure.h"
#include "NameFolding.h"
#include "Sha256.h"

#include <utility>

namespace {

// The hashes Tessary computes, the cheapest first: SHA-256 it computes anyway.
const char *const kHashesComputed[] = {"sha256", "sha1", "md5"};

QString hashTypeFor(const QStringList &kept) {
    for (const char *hash : kHashesComputed) {
        if (kept.contains(QLatin1StringView(hash)))
            return QString::fromLatin1(hash);
    }
    return {};
}

// ".tessary-" and 13 base-36 digits of the name's SHA-256, then ".tmp": the form of Tessary's
// hidden names on a local disk.
QString hiddenNameFor(const QString &name) {
    Sha256 hash;
    const QByteArray bytes = name.toUtf8();
    hash.add(bytes.constData(), bytes.size());
    quint64 number = hash.hexDigest().left(16).toULongLong(nullptr, 16);
    QString digits;
    for (int i = 0; i < 13; ++i, number /= 36)
        digits.prepend(QChar(u"0123456789abcdefghijklmnopqrstuvwxyz"[number % 36]));
    return QStringLiteral(".tessary-") + digits + QStringLiteral(".tmp");
}

} // namespace

RemoteFolder::RemoteFolder(std::shared_ptr<const RcloneDaemon> daemon, RemotePath path,
                           Rclone::Features features, const QList<Rclone::Entry> &entries)
    : m_daemon(std::move(daemon))
    , m_path(std::move(path))
    , m_features(std::move(features))
    , m_hashType(hashTypeFor(m_features.hashes)) {
    setEntries(entries);
}

std::optional<Digest::Algorithm> RemoteFolder::hashAlgorithm() const {
    if (m_hashType == u"sha256")
        return Digest::Algorithm::Sha256;
    if (m_hashType == u"sha1")
        return Digest::Algorithm::Sha1;
    if (m_hashType == u"md5")
        return Digest::Algorithm::Md5;
    return std::nullopt;
}

void RemoteFolder::setEntries(const QList<Rclone::Entry> &entries) {
    m_entries = entries;
    m_byFoldedName.clear();
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_byFoldedName[foldedName(m_entries[i].name)].append(i);
}

std::optional<Rclone::Entry> RemoteFolder::entry(const QString &name) const {
    const QList<qsizetype> alike = m_byFoldedName.value(foldedName(name));
    for (const qsizetype i : alike) {
        if (m_entries[i].name == name)
            return m_entries[i];
    }
    if (m_features.caseInsensitive && !alike.isEmpty())
        return m_entries[alike.first()];
    return std::nullopt;
}

std::optional<Rclone::Entry> RemoteFolder::caseTwin(const QString &name) const {
    if (m_features.caseInsensitive)
        return std::nullopt;
    for (const qsizetype i : m_byFoldedName.value(foldedName(name))) {
        if (m_entries[i].name != name && sameNameOnWindows(m_entries[i].name, name))
            return m_entries[i];
    }
    return std::nullopt;
}

bool RemoteFolder::movesIntoPlace() const {
    return m_features.canMove;
}

QString RemoteFolder::uploadName(const QString &name) const {
    return movesIntoPlace() ? hiddenNameFor(name) : name;
}

FoundRemoteFolder findRemoteFolder(const RcloneDaemon &daemon, const RemotePath &path,
                                   const std::function<bool()> &keepGoing) {
    // A remote the configuration lacks is told by each (RemoteNotConfigured).
    const Rclone::Pending<Rclone::Features> features = Rclone::features(daemon, path);
    const Rclone::Pending<std::optional<qint64>> freeBytes = Rclone::freeBytes(daemon, path);
    const Rclone::Pending<QList<Rclone::Entry>> entries = Rclone::list(daemon, path);
    FoundRemoteFolder found{features(keepGoing), freeBytes(keepGoing), std::nullopt};
    try {
        found.entries = entries(keepGoing);
    } catch (const Failure &failure) {
        if (failure.code() != Failure::Code::RemoteNotFound)
            throw;
    }
    return found;
}
