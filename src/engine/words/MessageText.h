#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// "U+001B": how a character that cannot be shown stands in a message.
QString codePoint(QChar ch);

// Text from outside (a file name, a line of a script) as it may stand in a message: every
// control character, and every character that turns the direction of text or breaks a line,
// shown as its code point, so that none cuts a message short, moves a terminal's cursor or
// disguises a name.
QString printable(const QString &text);

// The lines, one under another; past shownAtMost of them (all when negative), "... and 3 more."
QString listedAtMost(const QStringList &lines, qsizetype shownAtMost);

// "1 piece", "1,000 pieces".
QString piecesText(qint64 count);
