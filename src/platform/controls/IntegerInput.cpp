#include "IntegerInput.h"

#include <QInputDialog>

#include <utility>

namespace {

IntegerHandler &integerHandler() {
    static IntegerHandler handler;
    return handler;
}

} // namespace

std::optional<int> askInteger(QWidget *parent, const IntegerQuestion &question) {
    IntegerQuestion asked = question;
    if (asked.title.isEmpty())
        asked.title = QStringLiteral("Tessary");
    if (integerHandler())
        return integerHandler()(asked);
    bool accepted = false;
    const int answer = QInputDialog::getInt(parent, asked.title, asked.label, asked.value,
                                            asked.minimum, asked.maximum, 1, &accepted);
    return accepted ? std::optional<int>(answer) : std::nullopt;
}

IntegerHandler setIntegerHandler(IntegerHandler handler) {
    return std::exchange(integerHandler(), std::move(handler));
}
