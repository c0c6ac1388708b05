#include "names/ChecksumListText.h"

#include "OutputFolder.h"
#include "PieceDigests.h"
#include "names/OutputNames.h"
#include "names/TextOut.h"
#include "run/Saturating.h"

namespace ChecksumListText {

void write(TextOut &out, const OutputNames &names, const QByteArray &whole,
           const PieceDigests &pieces, const QList<ListedFile> &recovery) {
    // The names as the file system stores them, byte for byte, as sha256sum looks them up.
    out << whole << "  " << fileSystemName(names.fileName()) << '\n';
    QByteArray name;
    qint64 piece = 0;
    pieces.forEach([&](QByteArrayView digest) {
        names.setPieceOnDisk(name, ++piece);
        out << digest << "  " << name << '\n';
    });
    for (const ListedFile &listed : recovery)
        out << listed.digest << "  " << fileSystemName(listed.name) << '\n';
}

qint64 bytesAtMost(const OutputNames &names, qint64 pieces, qint64 recoveryFiles) {
    // A digest, two blanks, a name and a line end, for the whole file and each of the others; a
    // recovery volume's name is longest, at most 20 bytes past the file's.
    const qint64 perLine = 64 + 2 + fileSystemName(names.fileName()).size() + 21;
    return saturatingMultiply(saturatingAdd(pieces, recoveryFiles + 1), perLine);
}

std::optional<OwnList> ownListIn(const TextSource &text, const OutputNames &names) {
    // Each line is the one a split writes for what its name says, in the order it writes them.
    constexpr qsizetype kNameAt = 66;
    TextIn in(text);
    const std::optional<QByteArrayView> first = in.line();
    if (!first || first->size() < kNameAt || !PieceDigests::isDigest(first->first(64)) ||
        first->sliced(64) != "  " + fileSystemName(names.fileName()))
        return std::nullopt;
    OwnList own;
    own.wholeDigest = first->first(64).toByteArray();
    QByteArray piece;
    while (const std::optional<QByteArrayView> line = in.line()) {
        if (line->size() < kNameAt || !PieceDigests::isDigest(line->first(64)) ||
            line->sliced(64, 2) != "  ")
            return std::nullopt;
        const QByteArrayView name = line->sliced(kNameAt);
        if (own.recovery.isEmpty()) {
            names.setPieceOnDisk(piece, own.pieces + 1);
            if (name == piece) {
                ++own.pieces;
                continue;
            }
        }
        const QString recovery = fromFileSystemName(name.toByteArray());
        const std::optional<OutputNames::Entry> entry = OutputNames::parse(recovery);
        if (!entry || entry->kind != OutputNames::Kind::Recovery ||
            entry->fileName != names.fileName() || fileSystemName(recovery) != name)
            return std::nullopt;
        own.recovery.append({recovery, line->first(64).toByteArray()});
    }
    if (own.pieces == 0 || !in.atEnd())
        return std::nullopt;
    return own;
}

} // namespace ChecksumListText
