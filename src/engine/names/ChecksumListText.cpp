#include "names/ChecksumListText.h"

#include "OutputFolder.h"
#include "names/OutputNames.h"
#include "run/Saturating.h"

#include <algorithm>
#include <optional>

namespace ChecksumListText {

namespace {

bool isLowerDigest(QByteArrayView text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

} // namespace

QByteArray text(const OutputNames &names, const QByteArray &whole, const QList<QByteArray> &pieces,
                const QList<ListedFile> &recovery) {
    // The names as the file system stores them, byte for byte, as sha256sum looks them up.
    QByteArray text = whole + "  " + fileSystemName(names.fileName()) + '\n';
    for (qsizetype i = 0; i < pieces.size(); ++i)
        text += pieces[i] + "  " + names.pieceOnDisk(i + 1) + '\n';
    for (const ListedFile &listed : recovery)
        text += listed.digest + "  " + fileSystemName(listed.name) + '\n';
    return text;
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
    return text(names, whole, digests, recovery) == bytes && isLowerDigest(whole) &&
           std::all_of(digests.cbegin(), digests.cend(), isLowerDigest) &&
           std::all_of(recovery.cbegin(), recovery.cend(),
                       [](const ListedFile &listed) { return isLowerDigest(listed.digest); });
}

} // namespace ChecksumListText
