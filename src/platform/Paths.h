#pragma once

#include <QString>

// The folder in native separators, ending in exactly one separator, ready for a file name to
// be appended: "/data" gives "/data/", "C:\" stays "C:\".
QString withTrailingSeparator(const QString &folder);
