#include "remote/RemoteVerify.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "remote/PieceStream.h"
#include "run/RunProgress.h"

#include <QHash>

#include <mutex>

VerifyResult runRemoteVerify(const RemoteSet &set, ProgressSink &progress,
                             const StopRequest &stop) noexcept {
    VerifyResult result;
    result.posixScriptFault = set.posixScriptFault;
    try {
        progress.runStarted(1, set.totalBytes());
        progress.fileStarted(0, set.names.fileName(), set.totalBytes());
        std::mutex mutex;
        QList<qint64> fed;             // the pieces handed to the pipeline, in order
        QHash<qint64, QByteArray> got; // their digests, by number
        DigestPipeline digests([&](qsizetype index, const QByteArray &digest) {
            const std::lock_guard lock(mutex);
            got.insert(fed.value(index), digest);
        });
        PieceStream stream(set, digests, progress, stop);
        bool everyPiece = true;
        for (qint64 piece = 1; piece <= set.pieces.size(); ++piece) {
            const std::optional<Rclone::Entry> &there = set.pieces[piece - 1];
            VerifyResult::Entry entry{set.names.piece(piece), VerifyResult::Status::Matches,
                                      FileKind::Regular};
            if (!there || there->isFolder) {
                entry.status =
                    there ? VerifyResult::Status::Damaged : VerifyResult::Status::Missing;
                entry.standing = there ? FileKind::Folder : FileKind::Missing;
                everyPiece = false;
            } else {
                {
                    const std::lock_guard lock(mutex);
                    fed << piece;
                }
                stream.read(piece, nullptr);
            }
            result.pieces << entry;
        }
        digests.pieceDigests(); // every piece hashed
        const QByteArray whole = digests.wholeDigest();
        const std::lock_guard lock(mutex);
        for (qint64 piece = 1; piece <= result.pieces.size(); ++piece) {
            if (got.contains(piece) && got.value(piece) != set.list.pieces[piece - 1])
                result.pieces[piece - 1].status = VerifyResult::Status::Damaged;
        }
        if (everyPiece)
            result.joined = whole == set.list.whole ? VerifyResult::Status::Matches
                                                    : VerifyResult::Status::Damaged;
        progress.fileFinished(0);
    } catch (...) {
        result.end(Failure::current());
    }
    return result;
}

VerifyPlan verifyPlanOf(const RemoteSet &set) {
    VerifyPlan plan;
    plan.names = set.names;
    plan.list = set.list;
    plan.posixScriptFault = set.posixScriptFault;
    return plan;
}
