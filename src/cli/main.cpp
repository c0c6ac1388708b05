#include "Cli.h"
#include "Translations.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    installTranslations();
    return Cli::runProcess(argc, argv, QCoreApplication::arguments());
}
