#pragma once

#include "Failure.h"

#include <QString>

#include <optional>

// Why a file of this name cannot be carried to Windows and joined there by its command shell:
// a character no script line or Windows name can hold, a shell wildcard, a trailing blank or
// dot (Windows drops them), or a name Windows keeps for a device. A failure of no path; nothing
// when the name is fine.
std::optional<Failure> portableNameProblem(const QString &fileName);
