#pragma once

#include <QString>

namespace Cli {

// tessary-cli's bash completion, from its declarations (Options.h): the commands, each
// command's own options, after an option what its value may be (the size words after -s,
// folders after -o, nothing for a number), and files.
QString bashCompletion();

} // namespace Cli
