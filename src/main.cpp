#include "frmSplit.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    frmSplit window;
    window.show();
    return QApplication::exec();
}
