#include "join/RebuildingJoin.h"
#include "join/JoinText.h"

#include "OutputFolder.h"
#include "join/JoinPlanner.h"
#include "join/JoinRun.h"
#include "names/OutputNames.h"
#include "recovery/PieceRebuild.h"
#include "recovery/RecoveryCheck.h"
#include "run/Work.h"
#include "verify/Verify.h"
#include "words/FailureText.h"
#include "words/MessageText.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <optional>

namespace {

// The number of the piece a failure is of, where the failure is one that rebuilt pieces may
// mend (a piece missing or damaged); nothing otherwise.
std::optional<qint64> mendablePiece(const Failure &failure) {
    if (failure.kind() != Failure::Kind::NotFound && failure.kind() != Failure::Kind::Damaged)
        return std::nullopt;
    const std::optional<OutputNames::Entry> entry =
        OutputNames::parse(QFileInfo(failure.path()).fileName());
    if (!entry || entry->kind != OutputNames::Kind::Piece)
        return std::nullopt;
    return entry->piece;
}

// Asked when a join finds a piece damaged or missing, said by problem, and recovery files
// beside the pieces.
bool mayRebuild(const Failure &problem, const Work &work) {
    // "report.doc.2 is damaged: ...", as the join says it; "path: this piece is missing".
    const QString said =
        problem.kind() == Failure::Kind::Damaged
            ? printable(QFileInfo(problem.path()).fileName() + u' ' + failureReason(problem))
            : failureLine(problem);
    return work.questions.ask(
        {JoinText::tr("%1.\n\nRecovery files stand beside the pieces. Rebuild what is damaged "
                      "or missing from them, then join?")
             .arg(said),
         /*likelyYes=*/true});
}

// Rebuilds the pieces that are not whole, known (for those before first) or found by a check of
// the rest, and puts them in place. Their names.
QStringList rebuild(const JoinPlan &plan, QList<PieceStatus> known, qint64 first,
                    const Work &work) {
    const OutputNames names(plan.recipe.destination);
    known << surveyPieces(*plan.folder, names, plan.checksums, first, work.progress, work.stop);
    FractionProgress par2Progress =
        startPar2Stage(*plan.folder, names, plan.checksums, work.progress);
    return PieceRebuild(*plan.folder, names, plan.checksums)
        .run(known, std::ref(par2Progress), [&work] { return work.keepGoing(); });
}

// The join of plan's pieces once some were rebuilt: looked at again, then joined. The rebuilt
// pieces stay, and the user must hear of them whatever ends the join.
JoinResult joinRebuilt(JoinPlan &plan, const QStringList &rebuilt, const Work &work,
                       CopyMethod copyMethod) {
    JoinResult result;
    try {
        replanPieces(plan);
        result = JoinRun(plan, work.progress, work.stop, copyMethod).run();
    } catch (...) {
        result.end(Failure::current());
    }
    result.rebuilt = rebuilt;
    return result;
}

} // namespace

JoinOutcome joinRebuilding(const QString &chosen, const Work &work, CopyMethod copyMethod) {
    JoinOutcome outcome;
    JoinPlan &plan = outcome.plan;
    plan = planJoin(chosen, work);
    // Missing, or of a length no split gives: nothing is joined before they are rebuilt.
    if (plan.mendable) {
        if (!mayRebuild(*plan.mendable, work))
            throw *plan.mendable;
        outcome.result = joinRebuilt(plan, rebuild(plan, {}, 1, work), work, copyMethod);
        return outcome;
    }
    outcome.result = JoinRun(plan, work.progress, work.stop, copyMethod).run();
    const std::optional<qint64> damaged = outcome.result.outcome == RunOutcome::Failed
                                              ? mendablePiece(*outcome.result.failure)
                                              : std::nullopt;
    if (damaged && recoveryFileBeside(*plan.folder, plan.checksums) &&
        mayRebuild(*outcome.result.failure, work)) {
        // The join matched every piece before the damaged one against the list.
        QList<PieceStatus> known(*damaged - 1, PieceStatus::Matches);
        known << PieceStatus::Damaged;
        outcome.result =
            joinRebuilt(plan, rebuild(plan, known, *damaged + 1, work), work, copyMethod);
    }
    return outcome;
}
