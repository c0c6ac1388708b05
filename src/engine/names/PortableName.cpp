#include "names/PortableName.h"

#include <QStringList>

namespace {

std::optional<Failure> characterProblem(QChar ch) {
    using Code = Failure::Code;
    if (ch == u'"')
        return Failure(Code::NameHoldsDoubleQuote);
    if (ch.category() == QChar::Other_Control)
        return Failure(Code::NameHoldsControl, {}, {FailureArg::text(ch)});
    if (ch == u'*' || ch == u'?')
        return Failure(Code::NameHoldsWildcard, {}, {FailureArg::text(ch)});
    if (QStringView(u":\\/<>|").contains(ch))
        return Failure(Code::NameHoldsForbidden, {}, {FailureArg::text(ch)});
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

std::optional<Failure> portableNameProblem(const QString &fileName) {
    for (const QChar ch : fileName) {
        if (std::optional<Failure> problem = characterProblem(ch))
            return problem;
    }
    if (fileName.endsWith(u' '))
        return Failure(Failure::Code::NameEndsInBlank);
    if (fileName.endsWith(u'.'))
        return Failure(Failure::Code::NameEndsInDot);
    QString stem = fileName.section(u'.', 0, 0);
    while (stem.endsWith(u' '))
        stem.chop(1);
    if (isDeviceName(stem))
        return Failure(Failure::Code::NameIsDevice, {}, {FailureArg::text(stem)});
    return std::nullopt;
}
