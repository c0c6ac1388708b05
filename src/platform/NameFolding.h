#pragma once

#include <QString>

// A file name as Windows, FAT and exFAT compare names: without case. Full Unicode case folding
// (ß and SS, ﬁ and FI fold alike), so that two names that any of them may take for one compare
// equal here.
QString foldedName(const QString &name);
