#include "words/TextLines.h"

#include "words/MessageText.h"

QList<QByteArray> textLines(const QByteArray &bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

QString quotedLine(const QString &line) {
    constexpr qsizetype kShown = 120;
    return printable(line.size() > kShown ? line.left(kShown - 3) + QStringLiteral("...") : line);
}
