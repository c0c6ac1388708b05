#include "split/OutputSizes.h"

#include "OutputFolder.h"
#include "PieceDigests.h"
#include "names/OutputKinds.h"
#include "names/OutputNames.h"
#include "run/Saturating.h"
#include "sizes/PieceLength.h"
#include "split/SplitPlan.h"

#include <QStringList>

qint64 OutputSizes::bytes(const PlannedFile &file, qint64 blockSize) const {
    const OutputNames &names = file.names;
    const qint64 length = file.bytes;
    const qint64 pieceLength = file.pieceLength;
    const qint64 pieces = pieceCountFor(length, pieceLength);
    const qint64 fullPieces = pieces - 1;
    // Pieces that share the source's blocks take none of their own, but for the last's part
    // of a block at the source's end, which may be copied.
    const qint64 last = length - fullPieces * pieceLength;
    qint64 total =
        file.sharesSourceBlocks && blockSize > 0
            ? wholeBlocks(last % blockSize, blockSize)
            : saturatingAdd(saturatingMultiply(fullPieces, wholeBlocks(pieceLength, blockSize)),
                            wholeBlocks(last, blockSize));
    const qint64 recoveryFiles = file.recovery ? 1 + file.recovery->volumes : 0;
    for (const OutputNames::Kind kind : besidePieces)
        total = saturatingAdd(
            total,
            wholeBlocks(outputKind(kind).bytesAtMost(names, pieces, recoveryFiles), blockSize));
    // Many pieces' digests wait in a file of their own until the list is written.
    const qint64 spilled = besidePieces.contains(OutputNames::Kind::Checksums)
                               ? PieceDigests::spilledBytes(pieces)
                               : 0;
    total = saturatingAdd(total, wholeBlocks(spilled, blockSize));
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
    const qint64 spill = besidePieces.contains(OutputNames::Kind::Checksums) &&
                                 PieceDigests::spilledBytes(file.pieces) > 0
                             ? 1
                             : 0;
    return saturatingAdd(file.pieces, besidePieces.size() + recovery + spill);
}

std::optional<Failure> OutputSizes::nameTooLong(const OutputFolder &folder,
                                                const FolderCapacity &capacity,
                                                const PlannedFile &file) const {
    const OutputNames &names = file.names;
    QStringList written{names.piece(file.pieces)};
    for (const OutputNames::Kind kind : besidePieces)
        written << names.beside(kind);
    if (file.recovery)
        written << file.recovery->names(names).constLast();
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
