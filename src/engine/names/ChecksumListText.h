#pragma once

#include "names/TextIn.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class OutputNames;
class PieceDigests;
class TextOut;

// A file beside the pieces that the checksum list names too: a recovery file.
struct ListedFile {
    QString name;
    QByteArray digest; // lower-case hex SHA-256
    bool operator==(const ListedFile &) const = default;
};

// The text of the SHA-256 list beside a file's pieces, name.sha256, in the format that GNU
// "sha256sum -c" and "shasum -a 256 -c" read: a line for the whole file, then a line for each
// piece in order, then one for each recovery file, each "<64 hex digits>  <name>", ended by
// LF, the names bare so that the list is checked from inside its folder.
namespace ChecksumListText {

void write(TextOut &out, const OutputNames &names, const QByteArray &whole,
           const PieceDigests &pieces, const QList<ListedFile> &recovery = {});

// Enough room for the list of pieces pieces and recoveryFiles recovery files of names.
qint64 bytesAtMost(const OutputNames &names, qint64 pieces, qint64 recoveryFiles);

// What a list that a split of names writes tells, where text is one, byte for byte; read a
// line at a time.
struct OwnList {
    qint64 pieces = 0;
    QList<ListedFile> recovery;
    QByteArray wholeDigest;
};
std::optional<OwnList> ownListIn(const TextSource &text, const OutputNames &names);

} // namespace ChecksumListText
