#include "Command.h"
#include "CliText.h"

#include "Failure.h"
#include "HelpText.h"
#include "Options.h"
#include "SignalStop.h"
#include "Terminal.h"
#include "TerminalFront.h"
#include "TerminalProgress.h"
#include "jobs/JobRunner.h"

#include <QCoreApplication>

#include <unistd.h>

namespace Cli {

Command::Command(QString name, const Tuning &tuning)
    : m_name(std::move(name))
    , m_tuning(tuning) {
    m_parser.addOptions(parserOptions(m_name));
}

int Command::run(const QStringList &arguments) {
    if (!m_parser.parse(arguments))
        return usage(m_name, m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help"))) {
        print(stdout, helpText(m_name));
        return Done;
    }
    return execute();
}

bool Command::quiet() const {
    return m_parser.isSet(QStringLiteral("quiet"));
}

int Command::runJob(std::unique_ptr<Job> job, bool yes) const {
    TerminalFront front(yes);
    JobRunner runner(std::move(job), front);
    const SignalStop signals(runner.stopRequest());
    {
        std::optional<TerminalProgress> shown = progressShown(runner.counter());
        front.showProgress(shown ? &*shown : nullptr);
        runner.start();
        runner.wait();
        front.showProgress(nullptr);
    }
    return ended(front.result());
}

int Command::ended(const JobResult &result) const {
    if (result.outcome == RunOutcome::Stopped) {
        print(stderr, result.message);
        return SignalStop::exitStatus();
    }
    const bool done = result.outcome == RunOutcome::Done && result.allWell;
    if (!done || !quiet())
        print(done ? stdout : stderr, result.message);
    return done ? Done : Failed;
}

std::optional<TerminalProgress> Command::progressShown(const ProgressCounter &counter) const {
    if (m_tuning.progressLines)
        return std::optional<TerminalProgress>(std::in_place, counter, stderr,
                                               TerminalProgress::Style::Lines,
                                               std::chrono::seconds(1));
    if (quiet() || !::isatty(STDERR_FILENO))
        return std::nullopt;
    return std::optional<TerminalProgress>(std::in_place, counter, stderr,
                                           TerminalProgress::Style::Redrawn,
                                           std::chrono::milliseconds(200));
}

} // namespace Cli
