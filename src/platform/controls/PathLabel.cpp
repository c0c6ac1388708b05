#include "PathLabel.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

void PathLabel::setPath(const QString &path) {
    setText(path);
    setToolTip(path);
}

void PathLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect room = contentsRect();
    style()->drawItemText(&painter, room, int(alignment()), palette(), isEnabled(),
                          elidePath(text(), fontMetrics(), room.width()), foregroundRole());
}

QString elidePath(const QString &path, const QFontMetrics &metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype lastSeparator = path.lastIndexOf(QDir::separator(), path.size() - 2);
    const QString tail = lastSeparator > 0 ? path.mid(lastSeparator) : path;
    const int tailWidth = metrics.horizontalAdvance(tail);
    const int ellipsisWidth = metrics.horizontalAdvance(QChar(0x2026));
    if (lastSeparator <= 0 || tailWidth + ellipsisWidth >= width)
        return metrics.elidedText(path, Qt::ElideLeft, width);
    return metrics.elidedText(path.left(lastSeparator), Qt::ElideRight, width - tailWidth) + tail;
}
