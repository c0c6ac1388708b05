#pragma once

#include <QString>

// Text as a terminal lays it out, whatever the locale: a wide character (Chinese, Japanese,
// Korean, most emoji) takes two columns, a combining mark or joiner none, any other one.
namespace Columns {

int of(const QString &text);

// text where it fits in columns; else its start and its end around "…", each whole characters
// with their marks, the end the longer (where a name's number and extension stand).
QString elidedInMiddle(const QString &text, int columns);

// text where it fits in columns; else its start and "…".
QString elidedAtEnd(const QString &text, int columns);

} // namespace Columns
