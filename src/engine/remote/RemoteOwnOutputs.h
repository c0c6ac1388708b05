#pragma once

#include "names/OutputNames.h"
#include "remote/RemoteFolder.h"

#include <QList>

#include <functional>

// What an earlier split left on a remote beside one file's pieces that is proven Tessary's own
// as it is on a local disk: a checksum list or restore script that is, byte for byte, one that
// a split of the file writes (a list, only where a script of ours names as many pieces); and the
// pieces those name, a file at whose names is a piece of that split.
struct RemoteOwnOutputs {
    QList<OutputNames::Kind> own; // of the files beside the pieces
    qint64 piecesNamed = 0;       // the most that the list or a restore script names
};

// Those of each file of names in folder, in their order: each file beside the pieces is read
// once, a few at a time. Throws the failure of a read, and Stopped once keepGoing says no.
QList<RemoteOwnOutputs> remoteOwnOutputs(const RemoteFolder &folder,
                                         const QList<OutputNames> &names,
                                         const std::function<bool()> &keepGoing);
