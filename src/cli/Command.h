#pragma once

#include "Cli.h"
#include "TerminalProgress.h"
#include "run/ProgressCounter.h"
#include "run/RunProgress.h"
#include "run/RunResult.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Failure;
struct RunMessage;

namespace Cli {

// What the commands share: their options, the stop that signals ask for, the progress shown,
// and how a run's end is told and turned into an exit status.
class Command {
public:
    Command(QString name, const Tuning &tuning);
    virtual ~Command() = default;

    // arguments[0] is "tessary-cli name".
    int run(const QStringList &arguments);

protected:
    virtual int execute() = 0;
    // What the command says of a failure that ended it before it had a result.
    virtual RunMessage failure(const Failure &failure) const = 0;

    bool quiet() const;
    std::function<bool()> keepGoing() const;
    // Runs work, which tells the counter it is given how far it is, with its progress shown
    // where it may be; returns what work returns, once the progress is gone from the terminal.
    template <typename Work> auto showingProgress(const Work &work) const {
        ProgressCounter counter;
        const std::optional<TerminalProgress> shown = progressShown(counter);
        return work(counter);
    }
    // The end of a run: its message where it belongs, and the exit status.
    int finish(const RunMessage &message, RunOutcome outcome, bool done = true) const;

    QString m_name;
    const Tuning &m_tuning;
    QCommandLineParser m_parser;
    StopRequest m_stop;

private:
    // Every failure's end on a terminal, by its kind: its words on stderr, and the status.
    int failed(const Failure &failure) const;
    std::optional<TerminalProgress> progressShown(const ProgressCounter &counter) const;
};

} // namespace Cli
