#include "Version.h"
#include "frmSplit.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    QApplication::setApplicationVersion(QLatin1StringView(kTessaryVersion));
    // Ties the windows to the launcher entry, whose icon they show.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessary.Tessary"));
    frmSplit window;
    window.show();
    return QApplication::exec();
}
