#include "verify/Verify.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "Task.h"
#include "checksums/FileSha256.h"
#include "run/FractionProgress.h"
#include "run/RunProgress.h"
#include "run/Saturating.h"
#include "run/Work.h"
#include "sets/JoinRecipe.h"
#include "verify/PieceCheck.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>

namespace {

using Status = VerifyResult::Status;

// How the joined file at text compares with digest; throws a stop once keepGoing() says no.
VerifyResult::Entry checkJoined(const OutputFolder &folder, const QString &text,
                                const QByteArray &digest, ProgressSink &progress,
                                const std::function<bool()> &keepGoing) {
    if (std::optional<VerifyResult::Entry> absent = notAFile(folder, text))
        return *absent;
    const QByteArray found = sha256Of(folder, fileSystemName(text), keepGoing,
                                      [&progress](qint64 bytes) { progress.bytesCopied(bytes); });
    return {text, found == digest ? Status::Matches : Status::Damaged, FileKind::Regular};
}

// The bytes the pieces from first on hold.
qint64 pieceBytes(const OutputFolder &folder, const OutputNames &names, const ChecksumList &list,
                  qint64 first = 1) {
    qint64 bytes = 0;
    for (qint64 piece = first; piece <= list.pieces.size(); ++piece)
        bytes = saturatingAdd(bytes, folder.facts(names.pieceOnDisk(piece)).size);
    return bytes;
}

qint64 bytesToRead(const VerifyPlan &plan, bool withWhole) {
    qint64 bytes = pieceBytes(*plan.folder, plan.names, plan.list);
    for (const ChecksumList::Listed &listed : plan.list.recovery)
        bytes = saturatingAdd(bytes, plan.folder->facts(fileSystemName(listed.name)).size);
    if (withWhole)
        bytes =
            saturatingAdd(bytes, plan.folder->facts(fileSystemName(plan.names.fileName())).size);
    return bytes;
}

// Each recovery file the list names, against its line.
void checkRecoveryFiles(const VerifyPlan &plan, VerifyResult &result, ProgressSink &progress,
                        const std::function<bool()> &keepGoing) {
    for (const ChecksumList::Listed &listed : plan.list.recovery)
        result.recovery.append(
            checkJoined(*plan.folder, listed.name, listed.digest, progress, keepGoing));
}

// What the recovery files can do for pieces that are damaged or missing: par2 reads the pieces
// once more, a stage of the progress of its own.
void assessRebuild(const VerifyPlan &plan, VerifyResult &result, ProgressSink &progress,
                   const std::function<bool()> &keepGoing) {
    const std::optional<QByteArray> recoveryFile = recoveryFileBeside(*plan.folder, plan.list);
    const auto piecesWhole = [](const VerifyResult::Entry &entry) {
        return entry.status == Status::Matches;
    };
    if (!recoveryFile || (std::all_of(result.pieces.cbegin(), result.pieces.cend(), piecesWhole) &&
                          result.joined == Status::Matches))
        return;
    FractionProgress par2Progress = startPar2Stage(*plan.folder, plan.names, plan.list, progress);
    try {
        result.rebuild = assessRecovery(*plan.folder, *recoveryFile, plan.list.pieces.size(),
                                        std::ref(par2Progress), keepGoing);
    } catch (const Failure &failure) {
        if (failure.kind() == Failure::Kind::Stopped)
            throw;
        result.rebuildUnknown = failure;
    }
}

} // namespace

FractionProgress startPar2Stage(const OutputFolder &folder, const OutputNames &names,
                                const ChecksumList &list, ProgressSink &progress) {
    const qint64 bytes = pieceBytes(folder, names, list);
    progress.runStarted(1, bytes);
    progress.fileStarted(0, names.recoveryIndex(), bytes);
    return {progress, bytes};
}

QList<PieceStatus> surveyPieces(const OutputFolder &folder, const OutputNames &names,
                                const ChecksumList &list, qint64 first, ProgressSink &progress,
                                const StopRequest &stop) {
    const qint64 bytes = pieceBytes(folder, names, list, first);
    progress.runStarted(1, bytes);
    progress.fileStarted(0, names.fileName(), bytes);
    QList<VerifyResult::Entry> pieces;
    PieceCheck(folder, names, list, progress, stop, first).run(pieces);
    QList<PieceStatus> statuses;
    for (const VerifyResult::Entry &piece : std::as_const(pieces))
        statuses << piece.status;
    return statuses;
}

VerifyPlan::VerifyPlan() = default;
VerifyPlan::VerifyPlan(VerifyPlan &&) noexcept = default;
VerifyPlan &VerifyPlan::operator=(VerifyPlan &&) noexcept = default;
VerifyPlan::~VerifyPlan() = default;

VerifyPlan planVerify(const QString &chosen, const Work &work) {
    const QFileInfo info(chosen);
    const std::optional<OutputNames::Entry> output = OutputNames::parse(info.fileName());
    if (!output || (output->kind == OutputNames::Kind::Piece && output->piece != 1))
        throw Failure(Failure::Code::ChooseListScriptOrFirst, chosen);
    VerifyPlan plan;
    plan.folder =
        std::make_unique<OutputFolder>(QDir::toNativeSeparators(info.absolutePath()), work.files);
    plan.names = OutputNames(output->fileName);
    JoinRecipe recipe = recipeBeside(*plan.folder, plan.names);
    plan.list = checksumListFor(*plan.folder, recipe, [&] { return work.keepGoing(); });
    plan.posixScriptFault = posixScriptFault(recipe, plan.list);
    // Chosen, or where nothing else gives the pieces' digests, it is what the check would go by.
    if (plan.posixScriptFault &&
        (output->kind == OutputNames::Kind::PosixScript || plan.list.path.isEmpty()))
        throw *plan.posixScriptFault;
    if (plan.list.path.isEmpty())
        throw Failure(Failure::Code::NoListToCheck, chosen,
                      {FailureArg::name(plan.names.checksums())});
    return plan;
}

bool VerifyResult::allMatch() const {
    auto matches = [](const Entry &entry) { return entry.status == Status::Matches; };
    return !posixScriptFault && std::all_of(pieces.cbegin(), pieces.cend(), matches) &&
           joined == Status::Matches && (!whole || matches(*whole)) &&
           std::all_of(recovery.cbegin(), recovery.cend(), matches);
}

VerifyResult runVerify(const VerifyPlan &plan, ProgressSink &progress, const StopRequest &stop) {
    VerifyResult result;
    result.posixScriptFault = plan.posixScriptFault;
    try {
        const QByteArray wholeName = fileSystemName(plan.names.fileName());
        const bool withWhole = plan.folder->facts(wholeName).kind != FileKind::Missing;
        const qint64 bytes = bytesToRead(plan, withWhole);
        progress.runStarted(1, bytes);
        progress.fileStarted(0, plan.names.fileName(), bytes);

        // The joined file, when it is there, on a task of its own beside the pieces; it gives
        // up as soon as they fail.
        std::atomic<bool> piecesFailed{false};
        std::optional<Failure> wholeFailure;
        std::optional<Task> whole;
        if (withWhole)
            whole.emplace([&] {
                try {
                    result.whole =
                        checkJoined(*plan.folder, plan.names.fileName(), plan.list.whole, progress,
                                    [&] { return !stop.requested() && !piecesFailed; });
                } catch (...) {
                    wholeFailure = Failure::current();
                }
            });
        try {
            PieceCheck check(*plan.folder, plan.names, plan.list, progress, stop);
            const bool everyPiece = check.run(result.pieces);
            const QByteArray whole = check.wholeDigest();
            if (everyPiece)
                result.joined = whole == plan.list.whole ? Status::Matches : Status::Damaged;
        } catch (...) {
            piecesFailed = true;
            whole.reset();
            throw;
        }
        whole.reset();
        if (wholeFailure)
            throw *wholeFailure;
        const auto keepGoing = [&stop] { return !stop.requested(); };
        checkRecoveryFiles(plan, result, progress, keepGoing);
        assessRebuild(plan, result, progress, keepGoing);
    } catch (...) {
        result.end(Failure::current());
    }
    return result;
}
