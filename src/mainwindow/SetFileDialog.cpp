#include "SetFileDialog.h"
#include "MainWindowText.h"

#include "FileDialog.h"

#include <QCoreApplication>

QString chooseFileToJoin(QWidget *parent, const QString &startFolder) {
    return chooseFileToOpen(parent, MainWindowText::tr("Join Files"),
                            {MainWindowText::tr("Restore scripts (*.bat *.sh)"),
                             MainWindowText::tr("Checksum lists (*.sha256)"),
                             MainWindowText::tr("All files (*)")},
                            startFolder);
}

QString chooseFileToVerify(QWidget *parent, const QString &startFolder) {
    return chooseFileToOpen(parent, MainWindowText::tr("Verify Pieces"),
                            {MainWindowText::tr("Checksum lists (*.sha256)"),
                             MainWindowText::tr("Restore scripts (*.bat *.sh)"),
                             MainWindowText::tr("All files (*)")},
                            startFolder);
}
