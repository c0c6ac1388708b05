#pragma once

#include "Failure.h"

#include <QtGlobal>

#include <optional>

class OutputFolder;
class OutputNames;
struct FolderCapacity;

// What the outputs of one file take on a volume, worked out before any is written.
struct OutputSizes {
    bool checksums = true;   // a checksum list is written
    bool posixScript = true; // a restore script for macOS, Linux and the BSDs is written

    // Disk space the outputs of a source of length bytes take in pieces of pieceLength, in
    // whole blocks of blockSize; enough, never less.
    qint64 bytes(const OutputNames &names, qint64 length, qint64 pieceLength,
                 qint64 blockSize) const;
    // Files they make.
    qint64 files(qint64 pieces) const;
    // A name too long for the folder's file system, among the last piece's and those beside
    // the pieces; nothing when all fit.
    std::optional<Failure> nameTooLong(const OutputFolder &folder, const FolderCapacity &capacity,
                                       const OutputNames &names, qint64 pieces) const;
};
