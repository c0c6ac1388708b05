#pragma once

#include <QByteArray>
#include <QString>

// The pieces of text that make up a restore script for the Windows command shell.
// The shell expands % even inside double quotes and, outside them, acts on ^ & | < > ( );
// every name is escaped so that the script joins and echoes it exactly and runs nothing else.
namespace RestoreScript {

// The shell cannot read a longer batch line; longer joins are cut into several copy lines.
inline constexpr qsizetype kMaxLineBytes = 8190;

// The line that switches the console to UTF-8, first in the script of a non-ASCII name.
inline constexpr char kUtf8Line[] = "@chcp 65001 >nul";

// "copy /b "name.1" ", the start of the command.
QString firstTerm(const QString &fileName);
// "+ "name.N" ", one further piece.
QString nextTerm(const QString &fileName, qint64 pieceNumber);
// " "name"", the destination that ends each copy line.
QString destination(const QString &fileName);
// "copy /b "name" ", a further line that appends to the file joined so far.
QString continuation(const QString &fileName);

// Bytes the text takes in the script; lines are measured by this against kMaxLineBytes.
qsizetype scriptBytes(const QString &text);

// Appends the term of piece pieceNumber to command, whose last line holds lineBytes so far.
// A line that the term would carry past kMaxLineBytes is ended with the destination first, and
// the join goes on in a continuation line.
void appendPiece(QString &command, qsizetype &lineBytes, const QString &fileName,
                 qint64 pieceNumber);

// "echo name has been restored", with the name escaped for the shell.
QString echoLine(const QString &fileName);

// The whole script: the finished command line(s), then the echo line, each ended by CR LF.
// A name with any non-ASCII character gets a UTF-8 script that first switches the console to
// UTF-8; a plain ASCII name gets exactly the two lines.
QByteArray contents(const QString &fileName, const QString &restoreCommand);

// The script that joins pieceCount pieces of fileName, byte for byte as a split writes it.
QByteArray scriptFor(const QString &fileName, qint64 pieceCount);

} // namespace RestoreScript
