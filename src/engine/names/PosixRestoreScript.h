#pragma once

#include "names/TextIn.h"
#include "sizes/PieceLengths.h"

#include <QByteArray>
#include <QList>

#include <optional>

class OutputNames;
class PieceDigests;
class TextOut;

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

// The script for pieces of lengths; wholeDigest and pieceDigests are lower-case hex SHA-256,
// both empty when no checksum list is written.
void write(TextOut &out, const OutputNames &names, const PieceLengths &lengths,
           const QByteArray &wholeDigest, const PieceDigests &pieceDigests);
// Enough room for the script of pieces pieces of names, digests included, without building it.
qint64 bytesAtMost(const OutputNames &names, qint64 pieces);

// What a script of ours holds of its pieces: every piece's size and, where a checksum list was
// written beside it, every piece's SHA-256 and the whole file's (lower-case hex).
struct Manifest {
    QList<qint64> pieceLengths;
    QByteArray wholeDigest;
    QList<QByteArray> pieceDigests;
};

// The manifest of script where it is, byte for byte, one that write() writes for names, or
// one that an earlier version gave (its values, and the body it had); nothing for any other
// text. A split replaces or removes such a script, and no other file; a join and a check take
// its manifest for a checksum list.
std::optional<Manifest> manifestOf(const QByteArray &script, const OutputNames &names);
// The lengths of its pieces where script is such a script, read a line at a time.
std::optional<PieceLengths> piecesIn(const TextSource &script, const OutputNames &names);

} // namespace PosixRestoreScript
