#pragma once

#include "Failure.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <variant>

class OutputNames;

// How the recovery files of one file's split are laid out, so that any lostPieces of its pieces,
// the last and shorter one included, can be rebuilt from them: the pieces in blocks of one size
// (PAR2 takes at most 32,768 source blocks, each a whole number of 4 bytes), each piece in as
// few blocks as keep a recovery file within the largest file the volume holds, and as many
// recovery blocks as that many pieces take, one to a volume file.
struct RecoveryLayout {
    qint64 lostPieces = 0;
    qint64 blockBytes = 0;
    qint64 blocksPerPiece = 1;
    qint64 volumes = 0;     // recovery blocks, one volume file each
    qint64 indexBytes = 0;  // name.par2, at most
    qint64 volumeBytes = 0; // each volume, at most

    qint64 totalBytes() const;
    // The index first, then the volumes in order.
    QList<QString> names(const OutputNames &names) const;
};

// The layout for pieces pieces of pieceLength bytes (the last no longer) of the file named
// fileName, or why there is none: more pieces than PAR2 takes, say.
std::variant<RecoveryLayout, Failure> layoutRecovery(qint64 pieces, qint64 pieceLength,
                                                     qint64 lostPieces, qint64 maxFileBytes,
                                                     const QString &fileName);
