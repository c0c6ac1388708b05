#pragma once

#include "names/OutputNames.h"
#include "split/PieceNumbers.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class OutputFolder;

// The outputs a folder holds already of one file's name: its pieces by number and the files
// beside them by kind. Windows, and file systems here such as FAT, do not tell names apart by
// case, so neither does this: every spelling that Windows takes for one of them counts.
struct ExistingOutputs {
    PieceNumbers pieces; // in any spelling
    // The names of those pieces spelled otherwise than the file's own pieces are, by number:
    // few, if any, so kept whole.
    QHash<qint64, QList<QByteArray>> otherSpellings;
    QHash<OutputNames::Kind, QList<QByteArray>> beside; // in every spelling
};

// Those of each of fileNames in folder, by file name: the folder is listed once, however many
// files and pieces there are, and only what may be theirs is kept. Throws Failure when it
// cannot be listed.
QHash<QString, ExistingOutputs> existingOutputs(const OutputFolder &folder,
                                                const QList<QString> &fileNames);
