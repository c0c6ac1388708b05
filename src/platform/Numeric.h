#pragma once

#include <QString>

#include <optional>

// Numbers typed by the user, read under the user's locale (group separators and exponents
// as the locale allows). Only finite numbers count; an empty text is not numeric.
std::optional<double> toNumber(const QString &text);
