#pragma once

#include <QString>
#include <QStringList>

#include "Failure.h"

#include <functional>

// Debian's par2 program, which makes and uses recovery files in PAR2's format, run as a child
// process and never through a shell.
namespace Par2Program {

// Whether it can be run here.
bool isAvailable();
// Why recovery files cannot be made or used here, for a menu item or a message.
Failure absent();

struct Outcome {
    int exitCode = 0; // par2's: 0 all well, 1 repair possible, 2 repair not possible, more: failed
    QString output;   // all it printed, both streams

    // The last line it printed that says something: its reason, where it failed; empty where
    // it printed none.
    QString lastLine() const;
};

// Runs par2 with arguments in folder (a path for the child: see OutputFolder::pathForChild()),
// failures told of concerning, the path the user knows. Hands each line it prints to onLine as it
// comes (its progress lines too, which it ends with a carriage return), and asks keepGoing between
// its outputs: on a no, par2 is ended and a Failure of kind Stopped thrown. Throws a Failure where
// it cannot be started (absent()) or is ended by a signal.
Outcome run(const QStringList &arguments, const QString &folder, const QString &concerning,
            const std::function<void(const QString &line)> &onLine,
            const std::function<bool()> &keepGoing);

} // namespace Par2Program
