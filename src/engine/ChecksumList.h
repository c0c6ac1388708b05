#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class OutputFolder;
class OutputNames;

// The SHA-256 list beside a file's pieces, name.sha256, in the format that GNU
// "sha256sum -c" and "shasum -a 256 -c" read: a line for the whole file, then a line for each
// piece in order, each "<64 hex digits>  <name>", ended by LF, the names bare so that the list
// is checked from inside its folder.
struct ChecksumList {
    QString path;             // where it was read from
    QByteArray whole;         // digest of the whole file; empty when the list has none
    QList<QByteArray> pieces; // digest of piece k at k - 1

    static QByteArray text(const OutputNames &names, const QByteArray &whole,
                           const QList<QByteArray> &pieces);
};

// Reads the list beside the pieces of names, when there is one, for pieceCount pieces, or,
// when that is not known, for the pieces it names, which must then run from 1 without a gap.
// Only a list that a split could have written is taken (a byte order mark and CR LF line ends,
// which editors on Windows add, are passed over): a line that is not a digest and a name, or
// that names anything but the file and its pieces, or a piece without its line, is refused with
// a FileError that quotes the line. Returns an empty list (no path) when there is none.
ChecksumList readChecksumList(const OutputFolder &folder, const OutputNames &names,
                              std::optional<qint64> pieceCount);
