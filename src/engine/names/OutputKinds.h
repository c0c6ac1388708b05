#pragma once

#include "names/ChecksumListText.h"
#include "names/OutputNames.h"
#include "sizes/PieceLengths.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <optional>

class PieceDigests;
class TextOut;

// What a file's outputs beside its pieces are made of, once the pieces are cut.
struct OutputContents {
    const OutputNames &names;
    const PieceLengths &pieceLengths;
    const QByteArray &wholeDigest;     // lower-case hex SHA-256; empty without the list
    const PieceDigests &pieceDigests;  // empty without the list
    const QList<ListedFile> &recovery; // the recovery files, for the list
};

// What a file beside the pieces that is Tessary's own tells of the others.
struct OwnFile {
    qint64 piecesNamed = 0;     // a piece past those is not one of this split
    QList<ListedFile> recovery; // the recovery files it names with their digests: the list's
    QByteArray wholeDigest;     // of the file its pieces join into: the list's
};

// Every kind of file a split writes, in one table: its name's suffix, what it is to the user,
// how the user may leave it out, how it is written and how it is proven Tessary's own. A kind
// is added as a row and its writer.
struct OutputKind {
    OutputNames::Kind kind;
    const char16_t *suffix; // after the file's name; a piece's is its number
    const char *role;       // "restore script": what it is in messages (context "Outputs")
    // Where a split may leave it out: tessary-cli's switch that does and its help, and the
    // window's File menu item (with its object name) that writes it while checked.
    const char16_t *leaveOutSwitch;
    const char *leaveOutHelp;
    const char *menuItem;
    const char16_t *menuObjectName;
    // For the files written beside the pieces: the text, written out as it is made, and
    // enough room for it without making it, for the pieces and recovery files given.
    void (*write)(const OutputContents &contents, TextOut &out);
    qint64 (*bytesAtMost)(const OutputNames &names, qint64 pieces, qint64 recoveryFiles);
    // What the text standing at its name tells where it is, byte for byte, what a split of
    // names writes: a split replaces or removes such a file, and no other. None for the pieces,
    // told by the script or list beside them, and the recovery files, told by the list.
    std::optional<OwnFile> (*ownIn)(const TextSource &text, const OutputNames &names);

    bool isBesidePieces() const { return write != nullptr; }
    // The text whole, for a file of few pieces.
    QByteArray text(const OutputContents &contents) const;
    bool mayBeLeftOut() const { return leaveOutSwitch != nullptr; }
    QString translatedRole() const;
};

// Those beside the pieces in the order a split writes them: the list first and the script for
// Windows last, so that a failure leaves no script naming pieces that go.
extern const std::array<OutputKind, 5> kOutputKinds;

const OutputKind &outputKind(OutputNames::Kind kind);

// The restore scripts, whose form no other program writes: one of ours vouches for a checksum
// list beside it that names as many pieces, a list being in the form sha256sum writes too.
inline constexpr std::array kRestoreScripts{OutputNames::Kind::Script,
                                            OutputNames::Kind::PosixScript};
