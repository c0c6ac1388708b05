#pragma once

#include "Cli.h"
#include "TerminalProgress.h"
#include "jobs/Job.h"
#include "run/ProgressCounter.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace Cli {

// What the commands share: their options, and the one way each runs its job: with its progress
// shown where it may be, its questions answered as -y says, a signal as its stop, and its end
// told where it belongs and turned into an exit status.
class Command {
public:
    Command(QString name, const Tuning &tuning);
    virtual ~Command() = default;

    // arguments[0] is "tessary-cli name".
    int run(const QStringList &arguments);

protected:
    virtual int execute() = 0;

    bool quiet() const;
    // Runs job to its end, its questions answered Yes where yes, else No; its exit status.
    int runJob(std::unique_ptr<Job> job, bool yes = false) const;

    QString m_name;
    const Tuning &m_tuning;
    QCommandLineParser m_parser;

private:
    // The end of a job: its message where it belongs, and the exit status.
    int ended(const JobResult &result) const;
    std::optional<TerminalProgress> progressShown(const ProgressCounter &counter) const;
};

} // namespace Cli
