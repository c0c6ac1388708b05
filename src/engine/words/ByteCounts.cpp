#include "words/ByteCounts.h"

#include <QCoreApplication>
#include <QLocale>

QString bytesText(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString bytesTextPrecise(qint64 bytes) {
    static const char *const units[] = {
        QT_TRANSLATE_NOOP("ByteCounts", "bytes"), QT_TRANSLATE_NOOP("ByteCounts", "kB"),
        QT_TRANSLATE_NOOP("ByteCounts", "MB"),    QT_TRANSLATE_NOOP("ByteCounts", "GB"),
        QT_TRANSLATE_NOOP("ByteCounts", "TB"),    QT_TRANSLATE_NOOP("ByteCounts", "PB"),
        QT_TRANSLATE_NOOP("ByteCounts", "EB")};
    double value = double(bytes);
    int unit = 0;
    while (value >= 999.5 && unit + 1 < int(std::size(units))) {
        value /= 1000;
        ++unit;
    }
    return QLocale().toString(value, 'g', 3) + u' ' +
           QCoreApplication::translate("ByteCounts", units[unit]);
}
