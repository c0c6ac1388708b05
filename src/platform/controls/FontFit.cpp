#include "FontFit.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QVariant>
#include <QWidget>

void fitFontToCaptions(QWidget *fontOwner, const QList<QWidget *> &captioned) {
    QFont font = fontOwner->font();
    auto fits = [&] {
        const QFontMetrics metrics(font);
        for (const QWidget *control : captioned) {
            const QString text = control->property("text").toString();
            // A button's frame takes some of its width.
            const int room = qobject_cast<const QPushButton *>(control) ? control->width() - 8
                                                                        : control->width();
            if (metrics.horizontalAdvance(text) > room)
                return false;
        }
        return true;
    };
    constexpr double kSmallestPoints = 6.0;
    while (!fits() && font.pointSizeF() > kSmallestPoints)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    fontOwner->setFont(font);
}
