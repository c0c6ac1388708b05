#include "names/ChecksumListText.h"

#include "OutputFolder.h"
#include "PieceDigests.h"
#include "names/OutputNames.h"
#include "names/TextOut.h"
#include "run/Saturating.h"

#include <algorithm>
#include <optional>

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

QByteArray text(const OutputNames &names, const QByteArray &whole, const QList<QByteArray> &pieces,
                const QList<ListedFile> &recovery) {
    const PieceDigests digests(pieces);
    return TextOut::gathered([&](TextOut &out) { write(out, names, whole, digests, recovery); });
}

qint64 bytesAtMost(const OutputNames &names, qint64 pieces, qint64 recoveryFiles) {
    // A digest, two blanks, a name and a line end, for the whole file and each of the others; a
    // recovery volume's name is longest, at most 20 bytes past the file's.
    const qint64 perLine = 64 + 2 + fileSystemName(names.fileName()).size() + 21;
    return saturatingMultiply(saturatingAdd(pieces, recoveryFiles + 1), perLine);
}

bool isListOf(const QByteArray &bytes, const OutputNames &names) {
    // Its lines read back, in its own order, give the list again only where it is ours.
    QList<QByteArray> digests;
    QList<ListedFile> recovery;
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end
    for (const QByteArray &line : std::as_const(lines)) {
        const std::optional<OutputNames::Entry> entry =
            OutputNames::parse(fromFileSystemName(line.mid(66)));
        if (entry && entry->kind == OutputNames::Kind::Recovery)
            recovery.append({fromFileSystemName(line.mid(66)), line.left(64)});
        else if (recovery.isEmpty())
            digests.append(line.left(64));
    }
    if (digests.size() < 2)
        return false;
    const QByteArray whole = digests.takeFirst();
    return PieceDigests::isDigest(whole) &&
           std::all_of(digests.cbegin(), digests.cend(), PieceDigests::isDigest) &&
           std::all_of(
               recovery.cbegin(), recovery.cend(),
               [](const ListedFile &listed) { return PieceDigests::isDigest(listed.digest); }) &&
           text(names, whole, digests, recovery) == bytes;
}

} // namespace ChecksumListText
