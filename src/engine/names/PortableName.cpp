#include "names/PortableName.h"

#include <QStringList>

namespace {

std::optional<NameProblem> characterProblem(QChar ch) {
    if (ch == u'"')
        return NameProblem{NameProblem::Kind::DoubleQuote, {}};
    if (ch.category() == QChar::Other_Control)
        return NameProblem{NameProblem::Kind::ControlCharacter, ch};
    if (ch == u'*' || ch == u'?')
        return NameProblem{NameProblem::Kind::Wildcard, ch};
    if (QStringView(u":\\/<>|").contains(ch))
        return NameProblem{NameProblem::Kind::NotAllowed, ch};
    return std::nullopt;
}

// Windows opens these as devices, whatever extension follows: con.txt is the console too. Its
// serial and parallel ports go from 0 to 9 and on to the superscript digits ¹ ² ³.
bool isDeviceName(const QString &stem) {
    static const QStringList devices = [] {
        QStringList names{QStringLiteral("CON"),    QStringLiteral("PRN"),
                          QStringLiteral("AUX"),    QStringLiteral("NUL"),
                          QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
        for (const QChar digit : QStringView(u"0123456789\u00b9\u00b2\u00b3")) {
            names << QStringLiteral("COM") + digit;
            names << QStringLiteral("LPT") + digit;
        }
        return names;
    }();
    return devices.contains(stem, Qt::CaseInsensitive);
}

} // namespace

std::optional<NameProblem> portableNameProblem(const QString &fileName) {
    for (const QChar ch : fileName) {
        if (std::optional<NameProblem> problem = characterProblem(ch))
            return problem;
    }
    if (fileName.endsWith(u' '))
        return NameProblem{NameProblem::Kind::TrailingBlank, {}};
    if (fileName.endsWith(u'.'))
        return NameProblem{NameProblem::Kind::TrailingDot, {}};
    QString stem = fileName.section(u'.', 0, 0);
    while (stem.endsWith(u' '))
        stem.chop(1);
    if (isDeviceName(stem))
        return NameProblem{NameProblem::Kind::DeviceName, stem};
    return std::nullopt;
}
