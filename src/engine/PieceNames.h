#pragma once

#include <QByteArray>
#include <QString>

// The file-system name of every output of a file: "name." followed by the piece number for
// the pieces, "name.bat" for the restore script.
QByteArray pieceNamePrefix(const QString &fileName);
QByteArray scriptName(const QString &fileName);

// Sets name to prefix followed by the piece number, reusing name's storage: the names of
// thousands of pieces cost no allocation each.
void setPieceName(QByteArray &name, const QByteArray &prefix, qint64 piece);
