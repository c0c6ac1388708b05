#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The lines of a text file that a person may have edited: ended by LF or CR LF, the last one
// with or without an end, and blank lines after the last passed over, as editors leave them.
QList<QByteArray> textLines(const QByteArray &bytes);

// A line from outside as it is quoted in a message: cut after 120 characters, shown printably.
QString quotedLine(const QString &line);
