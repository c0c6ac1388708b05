#include "SizeArgument.h"
#include "CliText.h"

#include "sizes/SizeTable.h"
#include "sizes/SizeTargets.h"
#include "words/ByteCounts.h"
#include "words/MessageText.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <limits>

namespace SizeArgument {

namespace {

struct Unit {
    QStringView name;
    qint64 bytes;
};

constexpr Unit kUnits[] = {{u"", 1},
                           {u"k", 1000},
                           {u"M", qint64(1000) * 1000},
                           {u"G", qint64(1000) * 1000 * 1000},
                           {u"KiB", qint64(1) << 10},
                           {u"MiB", qint64(1) << 20},
                           {u"GiB", qint64(1) << 30}};

constexpr qint64 kUnbounded = std::numeric_limits<qint64>::max();

// whole.fraction times unit, when it comes to whole bytes; beyond any file, kUnbounded.
std::optional<qint64> bytesOf(const QString &whole, const QString &fraction, qint64 unit) {
    qint64 bytes = 0;
    for (const QChar digit : whole) {
        if (__builtin_mul_overflow(bytes, 10, &bytes) ||
            __builtin_add_overflow(bytes, digit.digitValue(), &bytes))
            return kUnbounded;
    }
    if (__builtin_mul_overflow(bytes, unit, &bytes))
        return kUnbounded;
    // The fraction has at most 9 digits and the unit is at most 2^30: under 2^60, no overflow.
    qint64 scale = 1;
    qint64 part = 0;
    for (const QChar digit : fraction) {
        scale *= 10;
        part = part * 10 + digit.digitValue();
    }
    const qint64 fractionBytes = part * unit;
    if (fractionBytes % scale != 0)
        return std::nullopt;
    const qint64 added = qint64(fractionBytes / scale);
    return __builtin_add_overflow(bytes, added, &bytes) ? kUnbounded : bytes;
}

QString listedSizes() {
    QStringList labels;
    for (const SizeRow &row : kSizeTable) {
        if (&row != &kSizeTable.front())
            labels << QString::fromLatin1(row.label);
    }
    for (const SizeTarget &target : kSizeTargets)
        labels << QString::fromUtf16(target.name);
    return labels.join(u' ');
}

} // namespace

std::variant<qint64, Problem> pieceLength(const QString &size) {
    for (const SizeRow &row : kSizeTable) {
        if (&row != &kSizeTable.front() &&
            size.compare(QLatin1StringView(row.label), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(row.bytes).toLongLong() - 1;
    }
    for (const SizeTarget &target : kSizeTargets) {
        if (size.compare(QString::fromUtf16(target.name), Qt::CaseInsensitive) == 0)
            return target.pieceBytes;
    }
    static const QRegularExpression shape(
        QStringLiteral("^([0-9]{1,30})(?:\\.([0-9]{1,9}))?(k|M|G|KiB|MiB|GiB)?$"));
    const QRegularExpressionMatch match = shape.match(size);
    std::optional<qint64> bytes;
    if (match.hasMatch()) {
        const QString unitName = match.captured(3);
        for (const Unit &unit : kUnits) {
            if (unit.name == unitName && (unit.bytes > 1 || match.captured(2).isEmpty()))
                bytes = bytesOf(match.captured(1), match.captured(2), unit.bytes);
        }
    }
    if (!bytes)
        return Problem{printable(CliText::tr("\"%1\" is not a size: give a whole number of "
                                             "bytes (1400000), a size in k, M or G (1000s) or "
                                             "in KiB, MiB or GiB (1024s), or one of %2")
                                     .arg(size, listedSizes()))};
    if (*bytes < 2)
        return Problem{CliText::tr("a size of %1 gives no pieces: every piece holds one byte "
                                   "less than the size, so it must be 2 bytes or more")
                           .arg(byteCountText(*bytes))};
    return *bytes - 1;
}

} // namespace SizeArgument
