#include "PortableName.h"

#include <QStringList>

namespace {

QString codePoint(QChar ch) {
    return QStringLiteral("U+%1").arg(ch.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

std::optional<QString> characterProblem(QChar ch) {
    if (ch == u'"')
        return QStringLiteral("its name holds a double quote, which no restore script can hold");
    if (ch.category() == QChar::Other_Control)
        return QStringLiteral("its name holds a control character (%1), which no restore script "
                              "can hold")
            .arg(codePoint(ch));
    if (ch == u'*' || ch == u'?')
        return QStringLiteral("its name holds \"%1\", a wildcard to the Windows command shell, so "
                              "the restore script could join other files")
            .arg(ch);
    if (QStringView(u":\\/<>|").contains(ch))
        return QStringLiteral("its name holds \"%1\", which Windows does not allow in a file name")
            .arg(ch);
    return std::nullopt;
}

// Windows opens these as devices, whatever extension follows: con.txt is the console too.
bool isDeviceName(const QString &fileName) {
    static const QStringList devices = [] {
        QStringList names{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                          QStringLiteral("NUL")};
        for (int digit = 1; digit <= 9; ++digit) {
            names << QStringLiteral("COM%1").arg(digit);
            names << QStringLiteral("LPT%1").arg(digit);
        }
        return names;
    }();
    QString stem = fileName.section(u'.', 0, 0);
    while (stem.endsWith(u' '))
        stem.chop(1);
    return devices.contains(stem, Qt::CaseInsensitive);
}

} // namespace

std::optional<QString> portableNameProblem(const QString &fileName) {
    for (const QChar ch : fileName) {
        if (std::optional<QString> problem = characterProblem(ch))
            return problem;
    }
    if (fileName.endsWith(u' '))
        return QStringLiteral("its name ends with a blank, which Windows drops from file names");
    if (fileName.endsWith(u'.'))
        return QStringLiteral("its name ends with a dot, which Windows drops from file names");
    if (isDeviceName(fileName))
        return QStringLiteral("\"%1\" is a device name on Windows, so its pieces and restore "
                              "script could not be used there")
            .arg(fileName.section(u'.', 0, 0).trimmed());
    return std::nullopt;
}
