#include "split/OwnOutputs.h"

#include "Failure.h"
#include "OutputFolder.h"
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
    case OutputNames::Kind::Recovery:
        break;
    }
    // A piece has no form of its own to tell; a recovery file is told by the list.
    return false;
}

QList<QString> listedRecoveryFiles(const OutputFolder &folder, const OutputNames &names) {
    const QByteArray list = names.checksumsOnDisk();
    if (folder.facts(list).kind != FileKind::Regular ||
        !isOwnOutput(folder, list, names, OutputNames::Kind::Checksums))
        return {};
    QList<QString> listed;
    try {
        for (const ChecksumList::Listed &file :
             readChecksumList(folder, names, [] { return true; }).recovery)
            listed << file.name;
    } catch (const Failure &) { // a list whose pieces changed since; it names nothing then
    }
    return listed;
}

bool isRecoveryFile(const OutputFolder &folder, const QByteArray &name) {
    // Every packet of PAR2 starts with its magic, the first of them at the file's start.
    try {
        char magic[8] = {};
        return SourceFile(folder, name).readAt(magic, sizeof magic, 0) == sizeof magic &&
               QByteArrayView(magic, sizeof magic) == QByteArrayView("PAR2\0PKT", 8);
    } catch (const Failure &) {
        return false;
    }
}
