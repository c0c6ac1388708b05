#include "sets/OwnOutputs.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "checksums/ChecksumList.h"
#include "checksums/FileSha256.h"
#include "names/OutputKinds.h"
#include "sets/JoinRecipe.h"

#include <algorithm>

namespace {

// Far beyond what a split writes beside the pieces of a million.
constexpr qint64 kLargestOwnFile = qint64(256) << 20;

} // namespace

bool isOwnOutput(const OutputFolder &folder, const QByteArray &name, const OutputNames &names,
                 OutputNames::Kind kind) {
    // A piece has no form of its own to tell; a recovery file is told by the list.
    const OutputKind &output = outputKind(kind);
    if (!output.isOwn)
        return false;
    try {
        return output.isOwn(SourceFile(folder, name).readAll(kLargestOwnFile), names);
    } catch (const Failure &) {
        return false;
    }
}

qint64 piecesNamedBeside(const OutputFolder &folder, const OutputNames &names) {
    const auto own = [&](const QByteArray &name, OutputNames::Kind kind) {
        return folder.facts(name).kind == FileKind::Regular &&
               isOwnOutput(folder, name, names, kind);
    };
    qint64 named = 0;
    try {
        if (own(names.scriptOnDisk(), OutputNames::Kind::Script))
            named = recipeBeside(folder, names).pieceCount;
        if (own(names.checksumsOnDisk(), OutputNames::Kind::Checksums))
            named =
                std::max(named, readChecksumList(folder, names, [] { return true; }).pieces.size());
    } catch (const Failure &) { // what cannot be read names nothing
    }
    return named;
}

QList<ChecksumList::Listed> listedRecoveryFiles(const OutputFolder &folder,
                                                const OutputNames &names) {
    const QByteArray list = names.checksumsOnDisk();
    if (folder.facts(list).kind != FileKind::Regular ||
        !isOwnOutput(folder, list, names, OutputNames::Kind::Checksums))
        return {};
    try {
        return readChecksumList(folder, names, [] { return true; }).recovery;
    } catch (const Failure &) { // a list whose pieces changed since; it names nothing then
        return {};
    }
}

bool isListedRecoveryFile(const OutputFolder &folder, const QByteArray &name,
                          const QList<ChecksumList::Listed> &listed) {
    const QString text = fromFileSystemName(name);
    const auto line =
        std::find_if(listed.cbegin(), listed.cend(),
                     [&](const ChecksumList::Listed &file) { return file.name == text; });
    if (line == listed.cend())
        return false;
    // A file of the user's may well start as PAR2's do; only the bytes the list holds are ours.
    try {
        return sha256Of(folder, name, [] { return true; }) == line->digest;
    } catch (const Failure &) {
        return false;
    }
}
