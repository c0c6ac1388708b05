#include "ProgramIcons.h"

#include <QStringList>

namespace {

// The picture drawn at 32 by 32 in 16 colours, and the same at 1.5, 2 and 4 times, pixel for
// pixel, so that a screen scaled to 150 % or 200 % shows it as sharp as one at 100 %.
QIcon drawnAt(const QString &name, const QStringList &sizes) {
    QIcon icon(QStringLiteral(":/icons/%1.png").arg(name));
    for (const QString &size : sizes)
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(name, size));
    return icon;
}

} // namespace

QIcon programIcon() {
    return drawnAt(QStringLiteral("tessary"),
                   {QStringLiteral("48"), QStringLiteral("64"), QStringLiteral("128")});
}

QIcon aboutIcon() {
    return drawnAt(QStringLiteral("about"), {QStringLiteral("48"), QStringLiteral("64")});
}
