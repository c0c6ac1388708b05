#include "MessageRecorder.h"

#include <QTest>

MessageRecorder::MessageRecorder()
    : m_previousMessages(
          setMessageHandler([this](const Message &message) { messages.append(message); }))
    , m_previousQuestions(setQuestionHandler([this](const Message &question) {
        questions.append(question);
        return !answers.isEmpty() && answers.takeFirst();
    }))
    , m_previousNumbers(setIntegerHandler([this](const IntegerQuestion &question) {
        numberQuestions.append(question);
        return numbers.isEmpty() ? std::nullopt : numbers.takeFirst();
    })) {}

MessageRecorder::~MessageRecorder() {
    setMessageHandler(m_previousMessages);
    setQuestionHandler(m_previousQuestions);
    setIntegerHandler(m_previousNumbers);
}

char *toString(const Message &message) {
    static const char *const icons[] = {"none", "error", "exclamation", "information", "question"};
    return QTest::toString(QStringLiteral("[%1] \"%2\": %3%4")
                               .arg(QString::fromLatin1(icons[int(message.icon)]), message.title,
                                    message.text,
                                    message.details.isEmpty()
                                        ? QString()
                                        : QStringLiteral(" (details: %1)").arg(message.details)));
}
