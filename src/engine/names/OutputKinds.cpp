#include "names/OutputKinds.h"

#include "names/PosixRestoreScript.h"
#include "names/RestoreScript.h"
#include "names/TextOut.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

void writeChecksumList(const OutputContents &contents, TextOut &out) {
    ChecksumListText::write(out, contents.names, contents.wholeDigest, contents.pieceDigests,
                            contents.recovery);
}

void writePosixScript(const OutputContents &contents, TextOut &out) {
    PosixRestoreScript::write(out, contents.names, contents.pieceLengths, contents.wholeDigest,
                              contents.pieceDigests);
}

void writeScript(const OutputContents &contents, TextOut &out) {
    RestoreScript::write(out, contents.names, contents.pieceLengths.count);
}

qint64 posixScriptBytes(const OutputNames &names, qint64 pieces, qint64) {
    return PosixRestoreScript::bytesAtMost(names, pieces);
}

qint64 scriptBytes(const OutputNames &names, qint64 pieces, qint64) {
    return RestoreScript::bytesAtMost(names, pieces);
}

std::optional<OwnFile> ownListIn(const TextSource &text, const OutputNames &names) {
    const std::optional<ChecksumListText::OwnList> list = ChecksumListText::ownListIn(text, names);
    if (!list)
        return std::nullopt;
    return OwnFile{list->pieces, list->recovery, list->wholeDigest};
}

std::optional<OwnFile> ownPosixScriptIn(const TextSource &text, const OutputNames &names) {
    const std::optional<PieceLengths> lengths = PosixRestoreScript::piecesIn(text, names);
    if (!lengths)
        return std::nullopt;
    return OwnFile{lengths->count, {}, {}};
}

std::optional<OwnFile> ownScriptIn(const TextSource &text, const OutputNames &names) {
    const std::optional<qint64> pieces = RestoreScript::piecesIn(text, names);
    if (!pieces)
        return std::nullopt;
    return OwnFile{*pieces, {}, {}};
}

} // namespace

const std::array<OutputKind, 5> kOutputKinds{{
    {OutputNames::Kind::Checksums, u".sha256", QT_TRANSLATE_NOOP("Outputs", "checksum list"),
     u"no-checksums", QT_TRANSLATE_NOOP("Outputs", "write no SHA-256 list."),
     QT_TRANSLATE_NOOP("Outputs", "Write &Checksums"), u"mnuchecksums", writeChecksumList,
     ChecksumListText::bytesAtMost, ownListIn},
    {OutputNames::Kind::PosixScript, u".sh",
     QT_TRANSLATE_NOOP("Outputs", "macOS and Linux restore script"), u"no-sh",
     QT_TRANSLATE_NOOP("Outputs", "write no restore script for macOS, Linux and the BSDs."),
     QT_TRANSLATE_NOOP("Outputs", "Write &Restore Script for macOS and Linux"), u"mnuposixscript",
     writePosixScript, posixScriptBytes, ownPosixScriptIn},
    {OutputNames::Kind::Script, u".bat", QT_TRANSLATE_NOOP("Outputs", "restore script"), nullptr,
     nullptr, nullptr, nullptr, writeScript, scriptBytes, ownScriptIn},
    {OutputNames::Kind::Recovery, u".par2", QT_TRANSLATE_NOOP("Outputs", "recovery file"), nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {OutputNames::Kind::Piece, u"", QT_TRANSLATE_NOOP("Outputs", "piece"), nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr},
}};

QByteArray OutputKind::text(const OutputContents &contents) const {
    return TextOut::gathered([&](TextOut &out) { write(contents, out); });
}

QString OutputKind::translatedRole() const {
    return QCoreApplication::translate("Outputs", role);
}

const OutputKind &outputKind(OutputNames::Kind kind) {
    return *std::find_if(kOutputKinds.cbegin(), kOutputKinds.cend(),
                         [kind](const OutputKind &row) { return row.kind == kind; });
}
