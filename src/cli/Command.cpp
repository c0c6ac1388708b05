#include "Command.h"
#include "CliText.h"

#include "Failure.h"
#include "HelpText.h"
#include "Options.h"
#include "SignalStop.h"
#include "Terminal.h"
#include "TerminalProgress.h"
#include "messages/RunMessages.h"

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
    const SignalStop signals(m_stop);
    try {
        return execute();
    } catch (...) {
        return failed(Failure::current());
    }
}

bool Command::quiet() const {
    return m_parser.isSet(QStringLiteral("quiet"));
}

std::function<bool()> Command::keepGoing() const {
    return [this] { return !m_stop.requested(); };
}

int Command::finish(const RunMessage &message, RunOutcome outcome, bool done) const {
    if (outcome == RunOutcome::Stopped) {
        print(stderr, message);
        return SignalStop::exitStatus();
    }
    done = done && outcome == RunOutcome::Done;
    if (!done || !quiet())
        print(done ? stdout : stderr, message);
    return done ? Done : Failed;
}

int Command::failed(const Failure &failure) const {
    if (failure.kind() == Failure::Kind::Stopped) { // before the run, while a list was read
        print(stderr, CliText::tr("Stopped before anything was written."));
        return SignalStop::exitStatus();
    }
    print(stderr, this->failure(failure));
    return Failed;
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
