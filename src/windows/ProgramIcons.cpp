#include "ProgramIcons.h"

QIcon programIcon() {
    QIcon icon(QStringLiteral(":/icons/tessary.png"));
    icon.addFile(QStringLiteral(":/icons/tessary-128.png"));
    return icon;
}

QIcon aboutIcon() {
    return QIcon(QStringLiteral(":/icons/about.png"));
}
