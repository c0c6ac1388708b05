// Runs a join, or a check of the pieces, without windows, for timing against other tools:
//   joinbench [--yes] [--progress] FILE     (FILE: a restore script, or the first piece name.1)
//   joinbench --verify [--progress] FILE    (FILE: also a checksum list name.sha256)
// Every question (join without a script, replace the file, go on past a piece of odd length)
// is answered No unless --yes is given; --progress prints a line a second to stderr. --verify
// checks every piece against its checksum list and prints each as matching, damaged or
// missing. Exit 0 on success; on a refusal, a failure, or a piece damaged or missing, prints
// what the window would show to stderr and exits 1. Ctrl+C (SIGINT) or SIGTERM stops it,
// leaving nothing written; it then exits 130 or 143.

#include "JoinPlan.h"
#include "JoinRun.h"
#include "ProgressCounter.h"
#include "RunFailure.h"
#include "RunMessages.h"
#include "SignalStop.h"
#include "TerminalProgress.h"
#include "Verify.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

class CommandLineAnswers : public JoinQuestions {
public:
    explicit CommandLineAnswers(bool yes)
        : m_yes(yes) {}
    bool askYesNo(const QString &) override { return m_yes; }

private:
    bool m_yes;
};

void print(std::FILE *stream, const RunMessage &message) {
    const QString &text = message.details.isEmpty() ? message.text : message.details;
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption yes(QStringLiteral("yes"));
    const QCommandLineOption verify(QStringLiteral("verify"));
    const QCommandLineOption progressOption(QStringLiteral("progress"));
    parser.addOptions({yes, verify, progressOption});
    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() != 1) {
        std::fputs("usage: joinbench [--yes | --verify] [--progress] FILE\n", stderr);
        return 2;
    }
    const QString file = parser.positionalArguments().first();
    StopRequest stop;
    const SignalStop signals(stop);
    ProgressCounter progress;
    std::optional<TerminalProgress> shown;
    auto showProgress = [&] {
        if (parser.isSet(progressOption))
            shown.emplace(progress, stderr, TerminalProgress::Style::Lines,
                          std::chrono::seconds(1));
    };
    try {
        if (parser.isSet(verify)) {
            const VerifyPlan plan = planVerify(file);
            showProgress();
            const VerifyResult result = runVerify(plan, progress, stop);
            shown.reset();
            if (result.outcome == RunOutcome::Stopped)
                return SignalStop::exitStatus();
            const bool good = result.outcome == RunOutcome::Done && result.allMatch();
            print(good ? stdout : stderr, RunMessages::verify(plan, result));
            return good ? 0 : 1;
        }
        CommandLineAnswers answers(parser.isSet(yes));
        const JoinPlan plan = planJoin(file, answers);
        showProgress();
        const JoinResult result = JoinRun(plan, progress, stop).run();
        shown.reset();
        if (result.outcome == RunOutcome::Done)
            return 0;
        if (result.outcome == RunOutcome::Stopped)
            return SignalStop::exitStatus();
        print(stderr, RunMessages::join(plan, result));
    } catch (...) {
        const RunFailure failure = describeFailure(std::current_exception());
        print(stderr, parser.isSet(verify) ? RunMessages::verifyFailure(failure)
                                           : RunMessages::joinFailure(failure));
    }
    return 1;
}
