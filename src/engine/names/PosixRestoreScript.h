#pragma once

#include <QByteArray>
#include <QList>

class OutputNames;

// The restore script for macOS, Linux and the BSDs, name.sh: plain POSIX sh, run as
// "sh name.sh" from anywhere (it goes to its own folder), or "sh name.sh --check" to check the
// pieces and write nothing; sourced (". name.sh"), it runs in a subshell and leaves the shell as
// it was. It carries the size of every piece and, when a checksum list is written, every
// piece's SHA-256 and the whole file's; it refuses an existing file, names every piece that is
// missing, of the wrong size or damaged, and gives the joined file its name only once its size
// and SHA-256 are right, by a link that fails where anything took the name meanwhile (or, where
// there are no links, by a move it checks after). Exit status: 0 done, 1 refused or damaged,
// 2 an unknown argument, 128 and the signal's number where HUP, INT, PIPE, QUIT or TERM stopped
// it.
namespace PosixRestoreScript {

// The script for pieces of pieceLengths (piece k at k - 1); wholeDigest and pieceDigests are
// lower-case hex SHA-256, both empty when no checksum list is written.
QByteArray scriptFor(const OutputNames &names, const QList<qint64> &pieceLengths,
                     const QByteArray &wholeDigest = {},
                     const QList<QByteArray> &pieceDigests = {});

// Enough room for the script of pieces pieces of names, digests included, without building it.
qint64 bytesAtMost(const OutputNames &names, qint64 pieces);

// Whether script is, byte for byte, one that scriptFor() gives for names, or one that the
// version before gave (its values, and the body it had): a split replaces or removes such a
// script, and no other file.
bool isScriptOf(const QByteArray &script, const OutputNames &names);

} // namespace PosixRestoreScript
