#pragma once

#include <cstdio>

// What the terminal a run's progress is drawn on can show, as the system tells it.
namespace TerminalTraits {

// Its width in columns: as the terminal on stream tells it (asked each time, so that a window
// resized meanwhile is followed), else $COLUMNS, else 80.
int columns(std::FILE *stream);

// Whether it takes escape sequences, to clear what a longer line left: not where TERM is unset
// or "dumb" (Emacs's shell, a serial console).
bool takesEscapes();

} // namespace TerminalTraits
