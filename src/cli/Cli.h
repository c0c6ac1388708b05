#pragma once

#include "Terminal.h"
#include "split/SplitRun.h"

#include <QStringList>

#include <optional>

// tessary-cli: Tessary's split, join and check of pieces without windows, with the window's
// checks, results and words.
// Its commands and options are declared in Options.h. Exit status: 0 done, 1 refused or failed (the
// reason on stderr, with the path), 2 usage, 128 + the signal's number when one stopped it (130
// Ctrl+C, 143 SIGTERM, 129 SIGHUP, 131 SIGQUIT).
namespace Cli {

// How a run is shown and tuned beyond what a user chooses; the benchmarks set these.
struct Tuning {
    RunOptions run;
    bool progressLines = false; // a progress line a second on stderr, terminal or not
};

// arguments[0] is the program. Prints to stdout and stderr; SIGINT, SIGTERM, SIGHUP and SIGQUIT
// stop a run.
int run(const QStringList &arguments, const Tuning &tuning = {});

// The process's whole life: refuses an argument of argv that is not text in the system's
// encoding, naming it with its bad bytes escaped, runs arguments (argv decoded, less what the
// caller took), and fails where what it printed could not be written.
int runProcess(int argc, char *argv[], const QStringList &arguments, const Tuning &tuning = {});

// The piece length of a size as -s takes it (see SizeArgument.h); nothing when it is none.
std::optional<qint64> pieceLength(const QString &size);

} // namespace Cli
