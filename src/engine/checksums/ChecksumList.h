#pragma once

#include "names/ChecksumListText.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class OutputFolder;
class OutputNames;

// The SHA-256 list beside a file's pieces, name.sha256, as read (its text: ChecksumListText.h).
struct ChecksumList {
    using Listed = ListedFile;

    QString path;             // where it was read from; empty when there is none
    QByteArray whole;         // digest of the whole file
    QList<QByteArray> pieces; // digest of piece k at k - 1; at least one
    QList<Listed> recovery;   // after the pieces, in order
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

// The same of a list whose bytes, text, were read elsewhere (from a remote), path naming it.
ChecksumList checksumListOf(const QByteArray &text, const QString &path, const OutputNames &names);
