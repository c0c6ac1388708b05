#include "MessageRecorder.h"

#include <QTest>

MessageRecorder::MessageRecorder()
    : m_previous(setMessageHandler([this](const Message &message) { messages.append(message); })) {}

MessageRecorder::~MessageRecorder() {
    setMessageHandler(m_previous);
}

char *toString(const Message &message) {
    static const char *const icons[] = {"none", "error", "exclamation", "information"};
    return QTest::toString(QStringLiteral("[%1] \"%2\": %3%4")
                               .arg(QString::fromLatin1(icons[int(message.icon)]), message.title,
                                    message.text,
                                    message.details.isEmpty()
                                        ? QString()
                                        : QStringLiteral(" (details: %1)").arg(message.details)));
}
