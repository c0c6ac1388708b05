#include "remote/RemoteJoin.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "Leftovers.h"
#include "OutputFolder.h"
#include "TemporaryFile.h"
#include "join/JoinPlanner.h"
#include "join/JoinRun.h"
#include "remote/PieceStream.h"
#include "run/RunProgress.h"
#include "run/Work.h"

#include <QDir>

#include <memory>

namespace {

// Every piece stands there, a file of its own, of the length a split gives it: all but the
// last as long as the first, the last no longer.
void checkPieces(const RemoteSet &set) {
    const qint64 first = set.pieces.value(0) ? set.pieces[0]->size : 0;
    for (qsizetype i = 0; i < set.pieces.size(); ++i) {
        const std::optional<Rclone::Entry> &piece = set.pieces[i];
        const QString path = set.folder.at(set.names.piece(i + 1)).text();
        if (!piece)
            throw Failure(Failure::Code::PieceMissing, path);
        if (piece->isFolder)
            throw Failure(Failure::Code::PieceNotAFile, path,
                          {FailureArg::fileKind(int(FileKind::Folder))});
        const bool last = i + 1 == set.pieces.size();
        if (piece->size < 0 || (last ? piece->size > first : piece->size != first))
            throw Failure(Failure::Code::OddPieceDamaged, path,
                          {FailureArg::count(piece->size), FailureArg::name(set.names.piece(1)),
                           FailureArg::count(first)});
    }
}

} // namespace

RemoteJoinPlan planRemoteJoin(const RemotePath &chosen, const QString &folder, const Work &work) {
    RemoteJoinPlan plan{readRemoteSet(chosen, work), {}};
    const RemoteSet &set = plan.set;
    // One of the two was changed since the split; which one, the join cannot tell.
    if (set.posixScriptFault &&
        set.posixScriptFault->code() == Failure::Code::PosixScriptDisagreesWithList)
        throw *set.posixScriptFault;
    checkPieces(set);
    JoinPlan &local = plan.local;
    local.recipe = {.chosen = chosen.text(),
                    .script = set.script,
                    .folder =
                        QDir::toNativeSeparators(folder.isEmpty() ? QStringLiteral(".") : folder),
                    .destination = set.names.fileName(),
                    .pieceCount = set.pieces.size(),
                    .posixScript = {},
                    .manifest = std::nullopt};
    local.folder = std::make_unique<OutputFolder>(local.recipe.folder, work.files);
    const QByteArray destination = fileSystemName(local.recipe.destination);
    local.lock = OutputLock::take(*local.folder, set.names.fileName());
    if (!local.lock)
        throw Failure(Failure::Code::AnotherRunJoins, local.folder->filePath(destination),
                      {FailureArg::name(set.names.fileName())});
    local.checksums = set.list;
    for (const std::optional<Rclone::Entry> &piece : set.pieces)
        local.pieceLengths << piece->size;
    local.totalBytes = set.totalBytes();
    askToReplace(local, work.questions, local.folder->facts(destination));
    // What a join killed on a file system without unnamed files left would take room.
    removeLeftovers(*local.folder);
    checkRoom(local);
    return plan;
}

JoinResult runRemoteJoin(const RemoteJoinPlan &plan, ProgressSink &progress,
                         const StopRequest &stop) noexcept {
    JoinResult result;
    try {
        const JoinPlan &local = plan.local;
        const RemoteSet &set = plan.set;
        progress.runStarted(1, local.totalBytes);
        progress.fileStarted(0, local.recipe.destination, local.totalBytes);
        TemporaryFile joined(*local.folder, fileSystemName(local.recipe.destination));
        joined.restrictPermissions(local.permissions);
        const FailureArg listName = FailureArg::name(set.listName());
        // Each piece is compared as soon as it is hashed: the first damaged one ends the join.
        DigestPipeline digests([&](qsizetype piece, const QByteArray &digest) {
            if (digest != set.list.pieces[piece])
                throw Failure(Failure::Code::PieceDamaged,
                              set.folder.at(set.pieces[piece]->name).text(), {listName});
        });
        PieceStream pieces(set, digests, progress, stop);
        for (qint64 piece = 1; piece <= set.pieces.size(); ++piece)
            pieces.read(piece, [&](const char *bytes, qint64 size) { joined.write(bytes, size); });
        digests.pieceDigests(); // every piece compared
        if (digests.wholeDigest() != set.list.whole)
            throw Failure(Failure::Code::JoinedWouldDiffer,
                          local.folder->filePath(fileSystemName(local.recipe.destination)),
                          {listName});
        putJoinedInPlace(joined, local, progress, result);
    } catch (...) {
        result.end(Failure::current());
    }
    return result;
}
