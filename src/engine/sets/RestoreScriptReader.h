#pragma once

#include "sets/JoinRecipe.h"

#include <QByteArray>
#include <QString>

// The restore script for Windows read the way the command shell reads the scripts Tessary
// writes (an optional "@chcp 65001 >nul" first line, chained "copy /b" lines, %% for %, the
// escaped echo line), and only such a script accepted: any other command, a name with a folder
// part, a destination that is not the name its pieces share, or a piece out of order is refused
// with a Failure that quotes the line. Nothing in a script is ever run.

// The recipe of the script at path, opened as a source is: a FIFO or a device is refused rather
// than waited on.
JoinRecipe readRestoreScript(const QString &path, const FileSystem &files);

// The recipe of a script whose bytes were read elsewhere (from a remote), path naming it; the
// recipe names no folder.
JoinRecipe restoreScriptOf(const QString &path, const QByteArray &bytes);
