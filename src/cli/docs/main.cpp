#include "BashCompletion.h"
#include "ManualPage.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QString>

#include <cstdio>

// Writes what tessary-cli's declarations give beside its help, when it is built: its manual
// page from the template, and its bash completion.
//   tessary-cli-docs TEMPLATE MANUAL COMPLETION

namespace {

void tell(const QString &path, const QString &reason) {
    std::fprintf(stderr, "tessary-cli-docs: %s: %s\n", qPrintable(path), qPrintable(reason));
}

// Whole or not at all: a build stopped halfway leaves no page cut short.
bool write(const QString &path, const QString &text) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return true;
    tell(path, file.errorString());
    return false;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 4) {
        std::fputs("usage: tessary-cli-docs TEMPLATE MANUAL COMPLETION\n", stderr);
        return 2;
    }
    // The same numbers whatever the builder's locale: 4,294,967,295.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString templatePath = QString::fromLocal8Bit(argv[1]);
    QFile templateFile(templatePath);
    if (!templateFile.open(QIODevice::ReadOnly)) {
        tell(templatePath, templateFile.errorString());
        return 1;
    }
    const Cli::FilledPage page = Cli::filledManualPage(QString::fromUtf8(templateFile.readAll()));
    if (!page.missing.isEmpty()) {
        tell(templatePath, QStringLiteral("no line ") + page.missing.join(QStringLiteral(", ")));
        return 1;
    }
    const bool written = write(QString::fromLocal8Bit(argv[2]), page.text) &&
                         write(QString::fromLocal8Bit(argv[3]), Cli::bashCompletion());
    return written ? 0 : 1;
}
