#pragma once

#include "checksums/ChecksumList.h"
#include "names/OutputNames.h"

#include <QByteArray>
#include <QList>
#include <QString>

class OutputFolder;

// Whether the file at name in folder, which stands where a split of names writes its kind of
// file beside the pieces, is one that such a split writes, byte for byte in its format: a split
// replaces or removes such a file, and no other. One that cannot be read is not.
bool isOwnOutput(const OutputFolder &folder, const QByteArray &name, const OutputNames &names,
                 OutputNames::Kind kind);

// How many pieces an earlier split's own restore script or checksum list beside them in folder
// names, the most of the two; 0 where neither stands there. A file at a piece's name past that
// is not a piece of ours: a rotated log, say.
qint64 piecesNamedBeside(const OutputFolder &folder, const OutputNames &names);

// The recovery files that the checksum list of names in folder names, with their digests,
// where that list is one a split writes; none otherwise.
QList<ChecksumList::Listed> listedRecoveryFiles(const OutputFolder &folder,
                                                const OutputNames &names);

// Whether the file at name in folder is one of the recovery files listed, byte for byte.
bool isListedRecoveryFile(const OutputFolder &folder, const QByteArray &name,
                          const QList<ChecksumList::Listed> &listed);
