#include "words/MessageText.h"

#include "PluralCount.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

class MessageWords {
    Q_DECLARE_TR_FUNCTIONS(Messages)
};

bool isUnprintable(QChar ch) {
    const char16_t code = ch.unicode();
    return ch.category() == QChar::Other_Control || code == 0x2028 || code == 0x2029 ||
           (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069);
}

} // namespace

QString codePoint(QChar ch) {
    return QStringLiteral("U+%1").arg(ch.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

QString listedAtMost(const QStringList &lines, qsizetype shownAtMost) {
    if (shownAtMost < 0 || lines.size() <= shownAtMost)
        return lines.join(u'\n');
    QStringList shown = lines.mid(0, shownAtMost);
    shown << MessageWords::tr("... and %1 more.").arg(lines.size() - shownAtMost);
    return shown.join(u'\n');
}

QString printable(const QString &text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar ch : text) {
        if (isUnprintable(ch))
            shown += codePoint(ch);
        else
            shown += ch;
    }
    return shown;
}

QString piecesText(qint64 count) {
    return MessageWords::tr("%1 pieces", nullptr, pluralCount(count))
        .arg(QLocale().toString(count));
}
