#include "words/ByteCounts.h"

#include "PluralCount.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

class ByteCountWords {
    Q_DECLARE_TR_FUNCTIONS(ByteCounts)
};

} // namespace

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

QString byteCountText(qint64 bytes) {
    return ByteCountWords::tr("%1 bytes", nullptr, pluralCount(bytes))
        .arg(QLocale().toString(bytes));
}
