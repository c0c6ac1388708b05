#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// A question answered with a whole number from minimum to maximum; value is offered first.
struct IntegerQuestion {
    QString title;
    QString label;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
};

// Asks for a whole number in a modal dialog whose box takes nothing outside the range; nothing
// when the user cancels. The title is "Tessary" when none is given.
std::optional<int> askInteger(QWidget *parent, const IntegerQuestion &question);

// Replaces the dialog, so that tests can answer it; an empty handler restores the dialog.
// Returns the handler that was in place.
using IntegerHandler = std::function<std::optional<int>(const IntegerQuestion &question)>;
IntegerHandler setIntegerHandler(IntegerHandler handler);
