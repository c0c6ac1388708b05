#include "recovery/RecoveryLayout.h"
#include "recovery/RecoveryText.h"

#include "OutputFolder.h"
#include "PluralCount.h"
#include "names/OutputNames.h"
#include "run/Saturating.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace {

// What PAR2 allows: source blocks of all files together, and recovery blocks.
constexpr qint64 kMostSourceBlocks = 32'768;
constexpr qint64 kMostRecoveryBlocks = 65'535;
// The pieces' names are par2's arguments: together well within what Linux passes to a program
// (a quarter of the stack limit, 2 MiB by default).
constexpr qint64 kMostArgumentBytes = 1 << 20;

// The packets that describe the pieces, which the index holds and every volume repeats: a main
// packet, then for each piece its description, with its name, and its blocks' checksums; with
// room to spare for the creator's packet and what the program adds.
qint64 describedBytes(qint64 pieces, qint64 blocksPerPiece, qint64 nameBytes) {
    const qint64 perPiece = 16 + 120 + (nameBytes + 24 + 3) / 4 * 4 + 80 + 20 * blocksPerPiece;
    return saturatingAdd(saturatingMultiply(pieces, perPiece), 4096);
}

} // namespace

qint64 RecoveryLayout::totalBytes() const {
    return saturatingAdd(indexBytes, saturatingMultiply(volumes, volumeBytes));
}

QList<QString> RecoveryLayout::names(const OutputNames &names) const {
    QList<QString> all{names.recoveryIndex()};
    for (qint64 volume = 0; volume < volumes; ++volume)
        all << names.recoveryVolume(volume, volumes);
    return all;
}

std::variant<RecoveryLayout, Failure> layoutRecovery(qint64 pieces, qint64 pieceLength,
                                                     qint64 lostPieces, qint64 maxFileBytes,
                                                     const QString &fileName) {
    const QLocale locale;
    const qint64 nameBytes = fileSystemName(fileName).size();
    // Each piece's name: the file's, a dot, its number, and the string's end.
    const qint64 argumentBytes =
        saturatingMultiply(pieces, nameBytes + 2 + QByteArray::number(pieces).size());
    if (argumentBytes > kMostArgumentBytes)
        return Failure(Failure::Kind::TooLarge, {},
                       RecoveryText::tr("the names of its %1 pieces are too long together to be "
                                        "handed to the par2 program; fewer pieces or a shorter "
                                        "name would do",
                                        nullptr, pluralCount(pieces))
                           .arg(locale.toString(pieces)));
    RecoveryLayout layout;
    layout.lostPieces = std::clamp<qint64>(lostPieces, 1, pieces);
    for (qint64 blocks = 1; pieces * blocks <= kMostSourceBlocks; ++blocks) {
        layout.blocksPerPiece = blocks;
        layout.blockBytes = std::max<qint64>(((pieceLength + blocks - 1) / blocks + 3) / 4 * 4, 4);
        layout.volumes = layout.lostPieces * blocks;
        layout.indexBytes = describedBytes(pieces, blocks, nameBytes);
        layout.volumeBytes = saturatingAdd(layout.blockBytes + 68, layout.indexBytes);
        if (layout.volumes > kMostRecoveryBlocks)
            break;
        if (layout.volumeBytes <= maxFileBytes)
            return layout;
    }
    if (pieces > kMostSourceBlocks)
        return Failure(Failure::Kind::TooLarge, {},
                       RecoveryText::tr("it would be cut into %1 pieces, more than the %2 that "
                                        "recovery files can cover",
                                        nullptr, pluralCount(pieces))
                           .arg(locale.toString(pieces), locale.toString(kMostSourceBlocks)));
    return Failure(Failure::Kind::TooLarge, {},
                   RecoveryText::tr("its recovery files would not fit the output folder's file "
                                    "system"));
}
