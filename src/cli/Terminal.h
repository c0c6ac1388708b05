#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

struct QueuedFile;
struct RunMessage;

// How tessary-cli speaks on a terminal.
namespace Cli {

enum ExitStatus { Done = 0, Failed = 1, Usage = 2 };

inline const QString kProgram = QStringLiteral("tessary-cli");

void print(std::FILE *stream, const QString &text);
// On a terminal the whole of a list is shown: a box shortens it, a terminal scrolls.
void print(std::FILE *stream, const RunMessage &message);
// "tessary-cli split: problem" and a pointer to the help, on stderr; returns Usage.
int usage(const QString &command, const QString &problem);
// Bytes that are no UTF-8 as \xHH, one by one; the rest as it reads.
QString escapedBytes(const QByteArray &bytes);
// A file named on the command line, as the engine takes it: "." and ".." by the folders' own
// names, so that they are refused for what they are.
QueuedFile queuedFile(const QString &argument);

} // namespace Cli
