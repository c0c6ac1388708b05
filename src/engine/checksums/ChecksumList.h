#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class OutputFolder;
class OutputNames;

// The SHA-256 list beside a file's pieces, name.sha256, in the format that GNU
// "sha256sum -c" and "shasum -a 256 -c" read: a line for the whole file, then a line for each
// piece in order, each "<64 hex digits>  <name>", ended by LF, the names bare so that the list
// is checked from inside its folder.
struct ChecksumList {
    // A file beside the pieces that the list names too: a recovery file.
    struct Listed {
        QString name;
        QByteArray digest;
        bool operator==(const Listed &) const = default;
    };

    QString path;             // where it was read from; empty when there is none
    QByteArray whole;         // digest of the whole file
    QList<QByteArray> pieces; // digest of piece k at k - 1; at least one
    QList<Listed> recovery;   // after the pieces, in order

    static QByteArray text(const OutputNames &names, const QByteArray &whole,
                           const QList<QByteArray> &pieces, const QList<Listed> &recovery = {});
};

// The name on disk of the list of names in folder, whatever the case it is spelled in (a FAT
// volume or another tool may have written it so); nothing when there is none. Throws
// Failure when two spellings stand there.
std::optional<QByteArray> findChecksumList(const OutputFolder &folder, const OutputNames &names);

// Reads the list beside the pieces of names, found whatever its case; an empty list (no path)
// when there is none. Only a list that proves something is taken: exactly one line for the
// file and one for each of its pieces name.1 ... name.k, and one for each of its recovery
// files where it has them, each "<digest>  <name>" (or
// "<digest> *<name>", and with a byte order mark or CR LF line ends, as editors on Windows
// leave them). It is read line by line, within a bound on its size, and refused at its first
// bad line with a Failure that quotes the line; keepGoing is asked between blocks, and a
// no throws a Failure of kind Stopped.
ChecksumList readChecksumList(const OutputFolder &folder, const OutputNames &names,
                              const std::function<bool()> &keepGoing);

// Whether bytes are, byte for byte, a list that a split of names writes.
bool isChecksumListOf(const QByteArray &bytes, const OutputNames &names);
