#pragma once

#include "names/TextIn.h"

#include <QByteArray>
#include <QString>

#include <optional>

class OutputNames;
class TextOut;

// The pieces of text that make up a restore script for the Windows command shell.
// The shell expands % even inside double quotes and, outside them, acts on ^ & | < > ( );
// every name is escaped so that the script joins and echoes it exactly and runs nothing else.
namespace RestoreScript {

// The shell cannot read a longer batch line; longer joins are cut into several copy lines.
inline constexpr qsizetype kMaxLineBytes = 8190;

// The line that switches the console to UTF-8, first in the script of a non-ASCII name.
inline constexpr char kUtf8Line[] = "@chcp 65001 >nul";

// "copy /b "name.1" ", the start of the command.
QString firstTerm(const OutputNames &names);
// "+ "name.N" ", one further piece.
QString nextTerm(const OutputNames &names, qint64 pieceNumber);
// " "name"", the destination that ends each copy line.
QString destination(const OutputNames &names);
// "copy /b "name" ", a further line that appends to the file joined so far.
QString continuation(const OutputNames &names);

// Bytes the text takes in the script; lines are measured by this against kMaxLineBytes.
qsizetype scriptBytes(const QString &text);

// "echo name has been restored", with the name escaped for the shell.
QString echoLine(const QString &fileName);

// The script that joins pieceCount pieces: the copy command, cut into lines of at most
// kMaxLineBytes that each go on from the file joined so far, then the echo line, each ended by
// CR LF. A name with any non-ASCII character gets a UTF-8 script that first switches the
// console to UTF-8; a plain ASCII name gets exactly the two lines.
void write(TextOut &out, const OutputNames &names, qint64 pieceCount);

// Enough room for the script of pieces pieces of names, without building it.
qint64 bytesAtMost(const OutputNames &names, qint64 pieces);

// How many pieces script joins where it is, byte for byte, one that write() writes for
// names; nothing for any other text.
std::optional<qint64> piecesIn(const TextSource &script, const OutputNames &names);

} // namespace RestoreScript
