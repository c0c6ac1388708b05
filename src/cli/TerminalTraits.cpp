#include "TerminalTraits.h"

#include <QByteArray>
#include <QtGlobal>

#include <sys/ioctl.h>

namespace TerminalTraits {

int columns(std::FILE *stream) {
    winsize size{};
    if (::ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("COLUMNS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : 80;
}

bool takesEscapes() {
    const QByteArray term = qgetenv("TERM");
    return !term.isEmpty() && term != "dumb";
}

} // namespace TerminalTraits
