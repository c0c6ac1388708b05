#include "join/RebuildingJoin.h"

#include "OutputFolder.h"
#include "join/JoinRun.h"
#include "join/JoinText.h"
#include "names/OutputNames.h"
#include "recovery/PieceRebuild.h"
#include "recovery/RecoveryCheck.h"
#include "run/RunProgress.h"
#include "verify/Verify.h"
#include "words/FailureText.h"
#include "words/MessageText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <variant>

namespace {

// Asks each question once: a join planned again after a rebuild asks what the first plan
// asked, and the user answered it.
class AnswerOnce : public JoinQuestions {
public:
    explicit AnswerOnce(JoinQuestions &questions)
        : m_questions(questions) {}
    bool askYesNo(const QString &question) override {
        return remembered(question, [&] { return m_questions.askYesNo(question); });
    }
    bool askYesNoLikelyYes(const QString &question) override {
        return remembered(question, [&] { return m_questions.askYesNoLikelyYes(question); });
    }

private:
    template <typename Ask> bool remembered(const QString &question, const Ask &ask) {
        const auto answer = m_answers.constFind(question);
        if (answer != m_answers.cend())
            return *answer;
        return *m_answers.insert(question, ask());
    }

    JoinQuestions &m_questions;
    QHash<QString, bool> m_answers;
};

// Asked when a join finds a piece damaged or missing, said by problem, and recovery files
// beside the pieces.
QString rebuildQuestion(const Failure &problem) {
    // "report.doc.2 is damaged: ...", as the join says it; "path: this piece is missing".
    const QString said =
        problem.kind() == Failure::Kind::Damaged
            ? printable(QFileInfo(problem.path()).fileName() + u' ' + failureReason(problem))
            : failureLine(problem);
    return JoinText::tr("%1.\n\nRecovery files stand beside the pieces. Rebuild what is damaged "
                        "or missing from them, then join?")
        .arg(said);
}

// A failure that rebuilt pieces may mend: a piece missing or damaged.
bool isPieceFailure(const Failure &failure) {
    if (failure.kind() != Failure::Kind::NotFound && failure.kind() != Failure::Kind::Damaged)
        return false;
    const std::optional<OutputNames::Entry> entry =
        OutputNames::parse(QFileInfo(failure.path()).fileName());
    return entry && entry->kind == OutputNames::Kind::Piece;
}

// The join, planned and run; or the failure of a piece, where a rebuild may mend it. The plan,
// and with it its lock, is gone when this returns a failure.
std::variant<JoinOutcome, Failure> attempt(const QString &chosen, JoinQuestions &questions,
                                           const LongWorkRunner &runLong,
                                           const std::function<bool()> &keepGoing,
                                           CopyMethod copyMethod, bool mayRebuild) {
    JoinOutcome outcome;
    try {
        outcome.plan = planJoin(chosen, questions, keepGoing);
    } catch (const Failure &failure) {
        if (mayRebuild && isPieceFailure(failure))
            return failure;
        throw;
    }
    runLong([&](ProgressSink &progress, const StopRequest &stop) {
        outcome.result = JoinRun(outcome.plan, progress, stop, copyMethod).run();
    });
    if (mayRebuild && outcome.result.failure && outcome.result.outcome == RunOutcome::Failed &&
        isPieceFailure(*outcome.result.failure))
        return *outcome.result.failure;
    return outcome;
}

QList<PieceStatus> statuses(const VerifyResult &checked) {
    QList<PieceStatus> found;
    for (const VerifyResult::Entry &piece : checked.pieces)
        found << piece.status;
    return found;
}

// Rebuilds the pieces of chosen's set that are damaged or missing, when recovery files stand
// beside them and the user agrees; returns their names, or nothing where no rebuild was done.
std::optional<QStringList> rebuild(const QString &chosen, const Failure &problem,
                                   JoinQuestions &questions, const LongWorkRunner &runLong,
                                   const std::function<bool()> &keepGoing) {
    std::optional<VerifyPlan> planned;
    try {
        planned = planVerify(chosen, keepGoing);
    } catch (const Failure &failure) {
        // Without a list to rebuild from (none written, or one refused), the piece's own
        // failure is what the user must read.
        if (failure.kind() == Failure::Kind::Stopped)
            throw;
        return std::nullopt;
    }
    const VerifyPlan &set = *planned;
    if (!recoveryFileBeside(*set.folder, set.list) ||
        !questions.askYesNoLikelyYes(rebuildQuestion(problem)))
        return std::nullopt;
    QStringList rebuilt;
    runLong([&](ProgressSink &progress, const StopRequest &stop) {
        const VerifyResult checked = runVerify(set, progress, stop, AskPar2::Never);
        if (checked.failure)
            throw *checked.failure;
        FractionProgress par2Progress = startPar2Stage(set, progress, set.names.recoveryIndex());
        rebuilt = PieceRebuild(*set.folder, set.names, set.list)
                      .run(statuses(checked), std::ref(par2Progress),
                           [&stop] { return !stop.requested(); });
    });
    return rebuilt;
}

} // namespace

JoinOutcome joinRebuilding(const QString &chosen, JoinQuestions &questions,
                           const LongWorkRunner &runLong, const std::function<bool()> &keepGoing,
                           CopyMethod copyMethod) {
    AnswerOnce answers(questions);
    std::variant<JoinOutcome, Failure> first =
        attempt(chosen, answers, runLong, keepGoing, copyMethod, true);
    if (auto *done = std::get_if<JoinOutcome>(&first))
        return std::move(*done);
    const Failure problem = std::get<Failure>(first);
    const std::optional<QStringList> rebuilt =
        rebuild(chosen, problem, answers, runLong, keepGoing);
    if (!rebuilt)
        throw problem;
    JoinOutcome second;
    try {
        second =
            std::get<JoinOutcome>(attempt(chosen, answers, runLong, keepGoing, copyMethod, false));
    } catch (...) {
        // The rebuilt pieces stay, and the user must hear of them whatever ends the join.
        const Failure failure = Failure::current();
        second.result.end(failure);
    }
    second.result.rebuilt = *rebuilt;
    return second;
}
