#include "split/OwnOutputs.h"

#include "Failure.h"
#include "SourceFile.h"
#include "checksums/ChecksumList.h"
#include "join/JoinRecipe.h"
#include "names/PosixRestoreScript.h"

namespace {

// Far beyond what a split writes beside the pieces of a million.
constexpr qint64 kLargestOwnFile = qint64(256) << 20;

} // namespace

bool isOwnOutput(const OutputFolder &folder, const QByteArray &name, const OutputNames &names,
                 OutputNames::Kind kind) {
    QByteArray bytes;
    try {
        bytes = SourceFile(folder, name).readAll(kLargestOwnFile);
    } catch (const Failure &) {
        return false;
    }
    switch (kind) {
    case OutputNames::Kind::Script:
        return isRestoreScriptOf(bytes, names.fileName());
    case OutputNames::Kind::PosixScript:
        return PosixRestoreScript::isScriptOf(bytes, names);
    case OutputNames::Kind::Checksums:
        return isChecksumListOf(bytes, names);
    case OutputNames::Kind::Piece:
        break;
    }
    return false; // a piece has no form of its own to tell
}
