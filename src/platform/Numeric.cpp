#include "Numeric.h"

#include <QLocale>

#include <cmath>

std::optional<double> toNumber(const QString &text) {
    bool ok = false;
    const double value = QLocale::system().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
