#include "split/OutputSizes.h"

#include "OutputFolder.h"
#include "names/OutputNames.h"
#include "names/RestoreScript.h"
#include "run/Saturating.h"
#include "sizes/PieceLength.h"
#include "split/SplitPlan.h"

#include <QStringList>

namespace {

// Enough for the restore script of pieces pieces of name, without building it: as if every
// piece stood on a copy line of its own.
qint64 scriptBytesAtMost(const OutputNames &names, qint64 pieces) {
    using namespace RestoreScript;
    const qint64 perPiece = scriptBytes(nextTerm(names, pieces)) +
                            scriptBytes(continuation(names)) + scriptBytes(destination(names)) + 2;
    return saturatingAdd(saturatingMultiply(pieces, perPiece),
                         2 * scriptBytes(names.fileName()) + 64);
}

// Enough for the checksum list of pieces pieces: a digest, two blanks, a name and a line end,
// for the whole file and each piece.
qint64 checksumBytesAtMost(const OutputNames &names, qint64 pieces) {
    const qint64 perLine = 64 + 2 + fileSystemName(names.fileName()).size() + 21;
    return saturatingMultiply(pieces + 1, perLine);
}

// Enough for the restore script for macOS and Linux: its fixed text, its name a few times, and
// a size and a digest for each piece.
qint64 posixScriptBytesAtMost(const OutputNames &names, qint64 pieces) {
    constexpr qint64 kFixedText = 16 << 10;
    constexpr qint64 kPerPiece = 20 + 1 + 64 + 1;
    return saturatingAdd(saturatingMultiply(pieces, kPerPiece),
                         kFixedText + 8 * fileSystemName(names.fileName()).size());
}

} // namespace

qint64 OutputSizes::bytes(const PlannedFile &file, qint64 blockSize) const {
    const OutputNames &names = file.names;
    const qint64 length = file.bytes;
    const qint64 pieceLength = file.pieceLength;
    const qint64 pieces = pieceCountFor(length, pieceLength);
    const qint64 fullPieces = pieces - 1;
    qint64 total = saturatingMultiply(fullPieces, wholeBlocks(pieceLength, blockSize));
    total = saturatingAdd(total, wholeBlocks(length - fullPieces * pieceLength, blockSize));
    total = saturatingAdd(total, wholeBlocks(scriptBytesAtMost(names, pieces), blockSize));
    if (checksums)
        total = saturatingAdd(total, wholeBlocks(checksumBytesAtMost(names, pieces), blockSize));
    if (posixScript)
        total = saturatingAdd(total, wholeBlocks(posixScriptBytesAtMost(names, pieces), blockSize));
    if (file.recovery)
        total = saturatingAdd(
            total,
            saturatingAdd(wholeBlocks(file.recovery->indexBytes, blockSize),
                          saturatingMultiply(file.recovery->volumes,
                                             wholeBlocks(file.recovery->volumeBytes, blockSize))));
    return total;
}

qint64 OutputSizes::files(const PlannedFile &file) const {
    const qint64 recovery = file.recovery ? 1 + file.recovery->volumes : 0;
    return saturatingAdd(file.pieces, 1 + (checksums ? 1 : 0) + (posixScript ? 1 : 0) + recovery);
}

std::optional<Failure> OutputSizes::nameTooLong(const OutputFolder &folder,
                                                const FolderCapacity &capacity,
                                                const PlannedFile &file) const {
    const OutputNames &names = file.names;
    QStringList written{names.piece(file.pieces), names.script()};
    if (file.recovery)
        written << file.recovery->names(names).constLast();
    if (checksums)
        written << names.checksums();
    if (posixScript)
        written << names.posixScript();
    for (const QString &name : std::as_const(written)) {
        const QByteArray onDisk = fileSystemName(name);
        if (onDisk.size() > capacity.nameMax)
            return Failure(Failure::Code::NameTooLong, {},
                           {FailureArg::name(name), FailureArg::count(onDisk.size()),
                            FailureArg::count(capacity.nameMax)});
        const qint64 pathBytes = fileSystemName(folder.filePath(onDisk)).size() + 1;
        if (pathBytes > capacity.pathMax)
            return Failure(Failure::Code::PathTooLong, {},
                           {FailureArg::name(name), FailureArg::count(pathBytes),
                            FailureArg::count(capacity.pathMax)});
    }
    return std::nullopt;
}
