#pragma once

#include "Failure.h"
#include "names/OutputNames.h"

#include <QList>
#include <QtGlobal>

#include <optional>

class OutputFolder;
struct FolderCapacity;
struct PlannedFile;

// What the outputs of one file take on a volume, worked out before any is written.
struct OutputSizes {
    const QList<OutputNames::Kind> &besidePieces; // written beside the pieces

    // Disk space the outputs of file take, in whole blocks of blockSize; enough, never less.
    qint64 bytes(const PlannedFile &file, qint64 blockSize) const;
    // Files they make.
    qint64 files(const PlannedFile &file) const;
    // A name too long for the folder's file system, among the last piece's and those beside
    // the pieces; nothing when all fit.
    std::optional<Failure> nameTooLong(const OutputFolder &folder, const FolderCapacity &capacity,
                                       const PlannedFile &file) const;
};
