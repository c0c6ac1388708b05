#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;

double logicalDpi(const QWidget *widget) {
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

} // namespace

int twipsToPixels(const QWidget *widget, int twips) {
    return static_cast<int>(std::lround(twips * logicalDpi(widget) / kTwipsPerInch));
}

QSize twipsToPixels(const QWidget *widget, int widthTwips, int heightTwips) {
    return {twipsToPixels(widget, widthTwips), twipsToPixels(widget, heightTwips)};
}

QRect twipsToPixels(const QWidget *widget, int left, int top, int width, int height) {
    return {twipsToPixels(widget, left), twipsToPixels(widget, top), twipsToPixels(widget, width),
            twipsToPixels(widget, height)};
}
