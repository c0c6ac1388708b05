#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

MessageHandler &messageHandler() {
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void showMessage(const QString &text, MessageIcon icon, const QString &title) {
    const QString caption = title.isEmpty() ? QStringLiteral("Tessary") : title;
    if (messageHandler()) {
        messageHandler()(text, icon, caption);
        return;
    }
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

MessageHandler setMessageHandler(MessageHandler handler) {
    return std::exchange(messageHandler(), std::move(handler));
}
