#pragma once

#include <QString>

#include <optional>

// Pieces and restore scripts are made to be carried to Windows and joined there by its command
// shell. Why a file of this name cannot be: a character no script line or Windows name can
// hold, a shell wildcard, a trailing blank or dot (Windows drops them), or a device name.
// Nothing when the name is fine.
std::optional<QString> portableNameProblem(const QString &fileName);
