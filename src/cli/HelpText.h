#pragma once

#include <QString>

namespace Cli {

// The help, from the declarations (Options.h): of the whole program where command is
// kProgramItself, else of that command alone, with its options only.
QString helpText(const QString &command);

} // namespace Cli
