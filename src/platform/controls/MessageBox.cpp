#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

MessageHandler &messageHandler() {
    static MessageHandler handler;
    return handler;
}

QuestionHandler &questionHandler() {
    static QuestionHandler handler;
    return handler;
}

QString titleOrProgram(const QString &title) {
    return title.isEmpty() ? QStringLiteral("Tessary") : title;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void showMessage(const QString &text, MessageIcon icon, const QString &title,
                 const QString &details) {
    const Message message{text, icon, title.isEmpty() ? QStringLiteral("Tessary") : title, details};
    if (messageHandler()) {
        messageHandler()(message);
        return;
    }
    QMessageBox box(boxIcon(icon), message.title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setDetailedText(details);
    box.exec();
}

MessageHandler setMessageHandler(MessageHandler handler) {
    return std::exchange(messageHandler(), std::move(handler));
}

bool askYesNo(const QString &text, const QString &title, DefaultAnswer byDefault) {
    const Message question{text, MessageIcon::Question, titleOrProgram(title)};
    if (questionHandler())
        return questionHandler()(question);
    QMessageBox box(QMessageBox::Question, question.title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(byDefault == DefaultAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QuestionHandler setQuestionHandler(QuestionHandler handler) {
    return std::exchange(questionHandler(), std::move(handler));
}
