#include "frmSplit.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    // Ties the windows to the launcher entry, whose icon they show.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessary.Tessary"));
    frmSplit window;
    window.show();
    return QApplication::exec();
}
