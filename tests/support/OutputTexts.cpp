#include "OutputTexts.h"

#include "PieceDigests.h"
#include "names/PosixRestoreScript.h"
#include "names/RestoreScript.h"
#include "names/TextOut.h"

QByteArray restoreScriptText(const OutputNames &names, qint64 pieceCount) {
    return TextOut::gathered([&](TextOut &out) { RestoreScript::write(out, names, pieceCount); });
}

QByteArray posixScriptText(const OutputNames &names, const QList<qint64> &pieceLengths,
                           const QByteArray &wholeDigest, const QList<QByteArray> &pieceDigests) {
    const PieceLengths lengths = PieceLengths::from(pieceLengths).value();
    const PieceDigests digests(pieceDigests);
    return TextOut::gathered([&](TextOut &out) {
        PosixRestoreScript::write(out, names, lengths, wholeDigest, digests);
    });
}

QByteArray checksumListText(const OutputNames &names, const QByteArray &whole,
                            const QList<QByteArray> &pieces, const QList<ListedFile> &recovery) {
    const PieceDigests digests(pieces);
    return TextOut::gathered(
        [&](TextOut &out) { ChecksumListText::write(out, names, whole, digests, recovery); });
}
