#include "text/ByteCounts.h"

#include <QLocale>

QString bytesText(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString bytesTextPrecise(qint64 bytes) {
    static const char *const units[] = {"bytes", "kB", "MB", "GB", "TB", "PB", "EB"};
    double value = double(bytes);
    int unit = 0;
    while (value >= 999.5 && unit + 1 < int(std::size(units))) {
        value /= 1000;
        ++unit;
    }
    return QLocale().toString(value, 'g', 3) + u' ' + QLatin1StringView(units[unit]);
}
