#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Window layouts are drawn up in twips, 1440 to the inch; these give pixels at the logical DPI
// of the screen the widget is on (the primary screen before it is shown).
int twipsToPixels(const QWidget *widget, int twips);
QSize twipsToPixels(const QWidget *widget, int widthTwips, int heightTwips);
QRect twipsToPixels(const QWidget *widget, int left, int top, int width, int height);
