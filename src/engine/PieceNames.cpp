#include "PieceNames.h"

#include "OutputFolder.h"

#include <charconv>

QByteArray pieceNamePrefix(const QString &fileName) {
    return fileSystemName(fileName + u'.');
}

QByteArray scriptName(const QString &fileName) {
    return fileSystemName(fileName + QStringLiteral(".bat"));
}

void setPieceName(QByteArray &name, const QByteArray &prefix, qint64 piece) {
    char digits[24];
    const char *end = std::to_chars(digits, digits + sizeof digits, piece).ptr;
    name.truncate(0);
    name.append(prefix).append(digits, end - digits);
}
