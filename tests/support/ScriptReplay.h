#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// What running a restore script in its folder would do, worked out the way the Windows command
// shell reads a batch file, without a shell.
struct ScriptReplay {
    QString error;                    // empty when every line was understood
    QMap<QString, QByteArray> joined; // files the copy lines wrote, by name
    QString echoed;                   // what the echo line prints
    int lineCount = 0;
};

// Fails (sets error) on anything the shell would read otherwise than meant: a line over 8190
// bytes, a % that would expand, a special character outside quotes, a piece that is missing.
ScriptReplay replayScript(const QString &folder, const QString &scriptName);
