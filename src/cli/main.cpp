#include "Cli.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    return Cli::runProcess(argc, argv, QCoreApplication::arguments());
}
