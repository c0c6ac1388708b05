#pragma once

#include "Rclone.h"
#include "RemotePath.h"
#include "checksums/ChecksumList.h"
#include "names/OutputNames.h"
#include "remote/RemoteFolder.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

struct Work;

// A set of pieces on a remote as a join or a check reads it: its checksum list, which says how
// many pieces there are and what each holds, and what stands at each piece's name.
struct RemoteSet {
    RemoteFolder folder;
    OutputNames names;
    // Its path: the list's on the remote, or the restore script's for macOS and Linux where only
    // that one gives the pieces' digests.
    ChecksumList list;
    QString script; // the restore script for Windows beside the pieces, where one stands
    // What stands at the name of piece k, at k - 1; nothing where nothing does.
    QList<std::optional<Rclone::Entry>> pieces;
    // The size of each file rclone's chunker shows in the folder (ChunkerView), by name; none
    // where it could not be asked.
    QHash<QString, qint64> chunkerSizes;
    // What is wrong with the restore script for macOS and Linux beside the pieces, where one
    // stands there: it is not ours, or gives other pieces than the list.
    std::optional<Failure> posixScriptFault;

    qint64 totalBytes() const;
    // The list's name in its folder.
    QString listName() const;
};

// The set of the file chosen on a remote: its checksum list, its restore script for Windows or
// for macOS and Linux, or its first piece. The list must stand there and be one a split could
// have written, or else the restore script for macOS and Linux must be ours and hold the
// pieces' digests (one chosen must be ours, and agree with the list); the script for Windows beside
// it, where there is one, must join as many pieces as it lists; no piece may stand past the last it
// lists. Throws a Failure: RcloneMissing, RemoteNotConfigured, NotOnRemote for a chosen file or
// folder that is not there, NoListToCheck, one of the list's or script's refusals, what rclone met,
// and Stopped once work's stop is asked for.
RemoteSet readRemoteSet(const RemotePath &chosen, const Work &work);
