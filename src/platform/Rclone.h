#pragma once

#include "Failure.h"
#include "RcloneDaemon.h"
#include "RcloneProcess.h"
#include "RcloneUpload.h"
#include "RemotePath.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// Debian's rclone program, which reaches some seventy kinds of remote (cloud drives, object
// stores, SFTP, WebDAV): its daemon is asked the small things, and an rclone of its own sends
// or reads each file, as a stream. Tessary writes no client of a remote's own: rclone's
// configuration is the user's, its credentials rclone's.
namespace Rclone {

// Whether it can be run here.
bool isAvailable();
// Why remotes cannot be reached here, for a menu item or a message.
Failure absent();

// An answer rclone is asked for at once and waited for when it is wanted, so that several
// questions run at the same time. Waiting throws what RcloneProcess::finish() throws.
template <typename Answer>
using Pending = std::function<Answer(const RcloneProcess::KeepGoing &keepGoing)>;

// The names of the remotes of the user's configuration ("backup").
Pending<QStringList> configuredRemotes();

// What the backend under a remote does, as rclone tells it.
struct Features {
    bool caseInsensitive = false; // takes two names that differ only in case for one
    bool canMove = false;         // moves a file on the server, in one step
    bool bucketBased = false;     // an object store: an upload appears whole or not at all
    QStringList hashes;           // those it keeps of each file: "md5", "sha1", ...
};
Pending<Features> features(const RcloneDaemon &daemon, const RemotePath &remote);

// The room left there, where the remote tells it.
Pending<std::optional<qint64>> freeBytes(const RcloneDaemon &daemon, const RemotePath &remote);

struct Entry {
    QString name;
    qint64 size = -1; // -1 where the remote does not know it
    bool isFolder = false;
    QByteArray hash; // of the type asked for, as lower-case hex; empty where it gave none
};
// The entries of folder, those of the folders in it left out, each with its hash of hashType
// where one is asked for. A folder that is not there is a Failure of code RemoteNotFound.
Pending<QList<Entry>> list(const RcloneDaemon &daemon, const RemotePath &folder,
                           const QString &hashType = {});

// The bytes of a file in the folder that daemon serves, all of them: for small ones.
Pending<QByteArray> contents(const RcloneDaemon &daemon, const RemotePath &file);

// Makes the folder, and those it is in, where they are missing.
Pending<void> makeFolder(const RcloneDaemon &daemon, const RemotePath &folder);
// Removes the file.
Pending<void> remove(const RcloneDaemon &daemon, const RemotePath &file);
// Moves the file from to to, on the remote. Where replacing is Never, a file that stands at
// to is left as it is and from stays, for the caller to find in its next listing.
enum class Replacing { Never, Allowed };
Pending<void> move(const RcloneDaemon &daemon, const RemotePath &from, const RemotePath &to,
                   Replacing replacing);

// An upload of exactly size bytes to file, handed to it as they come: it needs no room on the
// local disk, whether or not the remote takes a stream of unknown length, and no rclone of its
// own. Its failures are told of concerning, the file it is to become.
std::unique_ptr<RcloneUpload> upload(const RcloneDaemon &daemon, const RemotePath &file,
                                     qint64 size, const RemotePath &concerning);

} // namespace Rclone
