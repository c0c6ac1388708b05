#pragma once

#include <QString>

class QWidget;

// File > Join Files... and File > Verify Pieces...: the file dialog, in startFolder, for the file
// that stands for a set of pieces (a restore script, a checksum list or a first piece), with the
// filters each offers first. Empty when the user cancels.
QString chooseFileToJoin(QWidget *parent, const QString &startFolder);
QString chooseFileToVerify(QWidget *parent, const QString &startFolder);
