#pragma once

#include <QString>

#include <optional>

// Why a file of this name cannot be carried to Windows and joined there by its command shell:
// a character no script line or Windows name can hold, a shell wildcard, a trailing blank or
// dot (Windows drops them), or a name Windows keeps for a device.
struct NameProblem {
    enum class Kind {
        DoubleQuote,
        ControlCharacter, // detail: the character
        Wildcard,         // detail: the character
        NotAllowed,       // detail: the character
        TrailingBlank,
        TrailingDot,
        DeviceName, // detail: the device's name as the file's name spells it
    };
    Kind kind;
    QString detail;
};

// Nothing when the name is fine.
std::optional<NameProblem> portableNameProblem(const QString &fileName);
