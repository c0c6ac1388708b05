#pragma once

#include "names/OutputNames.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <algorithm>

struct QueuedFile {
    QString path; // full path, native separators
    QString name; // bare name; its outputs are named after it
    bool operator==(const QueuedFile &) const = default;
};

// Recovery files in PAR2's format beside each file's pieces, enough to rebuild this many lost
// pieces, or this percentage of them (at least one); none at 0.
struct RecoveryAmount {
    qint64 amount = 0;
    bool inPercent = false;

    // Lost pieces to be rebuilt of a file of pieces pieces: 0 for none.
    qint64 piecesFor(qint64 pieces) const {
        if (amount <= 0)
            return 0;
        return inPercent ? std::max<qint64>(1, (pieces * amount + 99) / 100) : amount;
    }
};

// A split as the user asked for it, taken from the window when Split Files is pressed: what is
// split, where to, and how long the pieces are, or how many each file is cut into. Nothing of
// the window is read after that.
struct SplitRequest {
    QList<QueuedFile> queue; // in the order the files are split
    QString outputFolder;    // native separators
    qint64 pieceLength = 1;  // bytes in every piece but the last (see PieceLength.h)
    qint64 pieceCount = 0;   // when above 0, each file in this many pieces instead
    // The piece length rounded down to whole blocks of the output folder's file system, where
    // the pieces are cut by length: a volume that shares blocks between files can then share the
    // source's. A remote has no blocks to round to.
    bool alignToBlocks = false;
    // The outputs the user does without, of those that may be left out (OutputKinds.h).
    QList<OutputNames::Kind> leftOut;
    RecoveryAmount recovery;

    bool writes(OutputNames::Kind kind) const { return !leftOut.contains(kind); }
    // The files beside each file's pieces that it writes, in the order they are written.
    QList<OutputNames::Kind> besidePieces() const;
};
