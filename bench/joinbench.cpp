// Runs a join without windows, for timing against other tools:
//   joinbench [--yes] [--progress] FILE     (FILE: a restore script, or the first piece name.1)
// Every question (join without a script, replace the file, go on past a piece of odd length)
// is answered No unless --yes is given; --progress prints a line a second to stderr. Exit 0 on
// success; on a refusal or a failure prints the path and the reason to stderr and exits 1.
// Ctrl+C (SIGINT) or SIGTERM stops it, leaving nothing written; it then exits 130 or 143.

#include "FileError.h"
#include "JoinPlan.h"
#include "JoinRun.h"
#include "MessageText.h"
#include "ProgressCounter.h"
#include "SignalStop.h"
#include "TerminalProgress.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

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

void printError(const QString &path, const QString &reason) {
    std::fprintf(stderr, "%s\n",
                 printable(QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason)
                     .toLocal8Bit()
                     .constData());
}

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption yes(QStringLiteral("yes"));
    const QCommandLineOption progressOption(QStringLiteral("progress"));
    parser.addOptions({yes, progressOption});
    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() != 1) {
        std::fputs("usage: joinbench [--yes] [--progress] FILE\n", stderr);
        return 2;
    }
    CommandLineAnswers answers(parser.isSet(yes));
    try {
        StopRequest stop;
        const SignalStop signals(stop);
        const JoinPlan plan = planJoin(parser.positionalArguments().first(), answers);
        ProgressCounter progress;
        std::optional<TerminalProgress> shown;
        if (parser.isSet(progressOption))
            shown.emplace(progress, stderr, TerminalProgress::Style::Lines,
                          std::chrono::seconds(1));
        const RunResult result = JoinRun(plan, progress, stop).run();
        shown.reset();
        if (result.outcome == RunOutcome::Done)
            return 0;
        if (result.outcome == RunOutcome::Stopped)
            return SignalStop::exitStatus();
        printError(result.failedPath, result.reason);
    } catch (const FileError &error) {
        printError(error.path(), error.reason());
    }
    return 1;
}
