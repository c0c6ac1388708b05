#pragma once

#include "SplitRun.h"

#include <QStringList>

#include <optional>

// tessary-cli: Tessary's split, join and check of pieces without windows, with the window's
// checks, results and words.
//   tessary-cli split -s SIZE [-o DIR] [--no-checksums] [-q] FILE...
//   tessary-cli join [-y] [-q] FILE
//   tessary-cli verify [-q] FILE
// Exit status: 0 done, 1 refused or failed (the reason on stderr, with the path), 2 usage,
// 130 stopped by Ctrl+C (143 by SIGTERM).
namespace Cli {

enum ExitStatus { Done = 0, Failed = 1, Usage = 2 };

// How a run is shown and tuned beyond what a user chooses; the benchmarks set these.
struct Tuning {
    RunOptions run;
    bool progressLines = false; // a progress line a second on stderr, terminal or not
};

// arguments[0] is the program. Prints to stdout and stderr; SIGINT and SIGTERM stop a run.
int run(const QStringList &arguments, const Tuning &tuning = {});

// The piece length of a size as -s takes it: a label of the window's size list ("1.4M"), or a
// number of bytes as its custom-size box takes it; nothing when it is neither.
std::optional<qint64> pieceLength(const QString &size);

} // namespace Cli
