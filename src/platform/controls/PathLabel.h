#pragma once

#include <QLabel>

class QFontMetrics;

// A label that shows a folder's path. A path too long for the label loses the middle: the start
// and the folder's own name stay, so that the part that tells folders apart is what is seen.
// The text stays the whole path, and so does the tooltip.
class PathLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Shows path, whole in the tooltip.
    void setPath(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// path shortened to fit width: the start, "…", then the last separator and the name after it;
// only a name too long on its own is cut, at its start, so that its end still shows.
QString elidePath(const QString &path, const QFontMetrics &metrics, int width);
