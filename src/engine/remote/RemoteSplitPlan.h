#pragma once

#include "FileFacts.h"
#include "names/OutputNames.h"
#include "remote/RemoteFolder.h"
#include "split/SplitRequest.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <optional>

// One queued file as the check found it, and what stands of it on the remote already.
struct RemotePlannedFile {
    QueuedFile queued;
    OutputNames names;
    FileFacts source; // as it was checked: the run splits this file, unchanged
    qint64 bytes = 0;
    qint64 pieceLength = 1;
    qint64 pieces = 1;
    // Pieces an earlier split's own checksum list or restore script there names: the files at
    // their names are replaced.
    qint64 piecesNamed = 0;
    // The pieces that stand at their names, by number: replaced where they are named, and on a
    // resume kept where they hold the bytes of this split's piece.
    QHash<qint64, Rclone::Entry> standing;
    // The earlier checksum list of ours, which names those pieces until the new one takes its
    // place, so that a split that is cut meanwhile can still be taken up.
    bool ownListStands = false;
    // Earlier outputs of ours to be removed before the pieces are sent (the restore scripts,
    // which would join a mix of old and new pieces; uploads that were cut), and after (pieces
    // past the new last one, a list that is not written again).
    QStringList removedBefore;
    QStringList removedAfter;

    qint64 pieceLengthOf(qint64 piece) const {
        return piece < pieces ? pieceLength : bytes - (pieces - 1) * pieceLength;
    }
};

// A split to a remote that was checked whole and may start.
struct RemoteSplitPlan {
    RemoteFolder folder;
    bool makeFolder = false; // the folder is not there yet, and is to be made
    bool resume = false;
    QList<RemotePlannedFile> files;
    // What each file's split writes beside its pieces, in the order it writes them.
    QList<OutputNames::Kind> besidePieces;

    bool writes(OutputNames::Kind kind) const { return besidePieces.contains(kind); }
    qint64 totalBytes() const;
};
