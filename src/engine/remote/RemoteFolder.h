#pragma once

#include "Digest.h"
#include "Rclone.h"
#include "RemotePath.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A folder on a remote as it was found: what its backend does and the entries it held, names
// compared as the backend compares them, and where an upload goes until it is whole.
class RemoteFolder {
public:
    RemoteFolder(std::shared_ptr<const RcloneDaemon> daemon, RemotePath path,
                 Rclone::Features features, const QList<Rclone::Entry> &entries);

    // What is asked of the remote: the daemon, for as long as the folder is used.
    const RcloneDaemon &daemon() const noexcept { return *m_daemon; }
    const RemotePath &path() const noexcept { return m_path; }
    RemotePath at(const QString &name) const { return m_path.child(name); }
    const Rclone::Features &features() const noexcept { return m_features; }

    // The hash the remote keeps of its files that Tessary computes as well, by rclone's name
    // ("sha256", "sha1", "md5"); empty where it keeps none of them.
    const QString &hashType() const noexcept { return m_hashType; }
    // The algorithm of that hash; nothing where there is none.
    std::optional<Digest::Algorithm> hashAlgorithm() const;

    // The entry at name, spelled as the backend takes it (in any case where it tells none
    // apart); nothing where none stands there.
    std::optional<Rclone::Entry> entry(const QString &name) const;
    // Another entry that Windows takes for name, and the backend for another file: of the two,
    // one would be lost on Windows.
    std::optional<Rclone::Entry> caseTwin(const QString &name) const;
    // Every entry, by name as the folder holds it.
    const QList<Rclone::Entry> &entries() const noexcept { return m_entries; }
    // Takes the entries of a later listing.
    void setEntries(const QList<Rclone::Entry> &entries);

    // Whether an upload takes a hidden name of its own until it is whole and is then moved into
    // place, where the backend moves files on the server; else it goes to its name at once, as
    // on an object store, whose uploads appear whole or not at all.
    bool movesIntoPlace() const;
    // Where an upload to name goes until it is whole: a hidden name of Tessary's form, the same
    // for the same name, so that an upload that was cut is replaced by the next one; the name
    // itself where nothing is moved into place.
    QString uploadName(const QString &name) const;

private:
    std::shared_ptr<const RcloneDaemon> m_daemon;
    RemotePath m_path;
    Rclone::Features m_features;
    QString m_hashType;
    QList<Rclone::Entry> m_entries;
    QHash<QString, QList<qsizetype>> m_byFoldedName; // indexes into m_entries
};

// A remote folder as it stands, asked in one go: what its backend does, the room it tells of,
// and its entries, none where it is not there. Throws what rclone met: RemoteNotConfigured for
// a remote the configuration lacks, a connection lost, credentials refused.
struct FoundRemoteFolder {
    Rclone::Features features;
    std::optional<qint64> freeBytes;
    std::optional<QList<Rclone::Entry>> entries;
};
FoundRemoteFolder findRemoteFolder(const RcloneDaemon &daemon, const RemotePath &path,
                                   const std::function<bool()> &keepGoing);
