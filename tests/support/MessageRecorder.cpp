#include "MessageRecorder.h"

#include <QTest>

MessageRecorder::MessageRecorder()
    : m_previous(
          setMessageHandler([this](const QString &text, MessageIcon icon, const QString &title) {
              messages.append({text, icon, title});
          })) {}

MessageRecorder::~MessageRecorder() {
    setMessageHandler(m_previous);
}

char *toString(const MessageRecorder::Message &message) {
    static const char *const icons[] = {"none", "error", "exclamation"};
    return QTest::toString(
        QStringLiteral("[%1] \"%2\": %3")
            .arg(QString::fromLatin1(icons[int(message.icon)]), message.title, message.text));
}
