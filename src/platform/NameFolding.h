#pragma once

#include <QString>

// A file name as Windows, FAT and exFAT compare names: without case. Full Unicode case folding
// (ß and SS, ﬁ and FI fold alike), so that two names that any of them may take for one compare
// equal here.
QString foldedName(const QString &name);

// Whether Windows takes a and b for one name: it upper-cases each UTF-16 unit on its own
// (simple mapping), so ß and SS, or ﬁ and FI, stay two names there.
bool sameNameOnWindows(const QString &a, const QString &b);
