#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

struct QueuedFile {
    QString path; // full path, native separators
    QString name; // bare name; its outputs are named after it
    bool operator==(const QueuedFile &) const = default;
};

// A split as the user asked for it, taken from the window when Split Files is pressed: what is
// split, where to, and how long the pieces are, or how many each file is cut into. Nothing of
// the window is read after that.
struct SplitRequest {
    QList<QueuedFile> queue;      // in the order the files are split
    QString outputFolder;         // native separators
    qint64 pieceLength = 1;       // bytes in every piece but the last (see PieceLength.h)
    qint64 pieceCount = 0;        // when above 0, each file in this many pieces instead
    bool writeChecksums = true;   // a SHA-256 list beside the pieces of each file
    bool writePosixScript = true; // a restore script for macOS, Linux and the BSDs too
};
