#pragma once

#include "Command.h"

#include <memory>

namespace Cli {

// The command of that name ("split", "join", "verify"); nothing for another name.
std::unique_ptr<Command> commandNamed(const QString &name, const Tuning &tuning);

} // namespace Cli
