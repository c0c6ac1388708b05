#pragma once

#include "names/OutputNames.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class OutputFolder;

// The outputs a folder holds already, of one file's name: its pieces by number and the files
// beside them by kind, each in every spelling the folder holds. Windows, and file systems here
// such as FAT, do not tell names apart by case, so neither does this.
struct ExistingOutputs {
    QHash<qint64, QList<QByteArray>> pieces;
    QHash<OutputNames::Kind, QList<QByteArray>> beside;
};

// Those of every file in folder, by case-folded file name: the folder is listed once, however
// many files and pieces there are. Throws Failure when it cannot be listed.
QHash<QString, ExistingOutputs> existingOutputs(const OutputFolder &folder);
