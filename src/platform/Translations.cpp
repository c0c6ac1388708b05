#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool install(const QLocale &locale, const QString &name, const QString &folder) {
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

void installTranslations() {
    if (!QCoreApplication::instance())
        return;
    const QLocale locale;
    // Qt's words only with Tessary's, so that a window never mixes two languages.
    if (install(locale, QStringLiteral("tessary"), QStringLiteral(":/i18n")))
        install(locale, QStringLiteral("qtbase"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    else // the words stay English, "1 byte" and "2 bytes" among them, which only it tells apart
        install(QLocale(QLocale::English), QStringLiteral("tessary"), QStringLiteral(":/i18n"));
}
