#pragma once

#include "IntegerInput.h"
#include "MessageBox.h"

#include <QList>

#include <optional>

// Records the messages the program shows and the questions it asks instead of opening modal
// boxes, for its lifetime. Questions take their answers from answers, in turn; once those run
// out, each is answered No, as the box's default. Questions for a number take theirs from
// numbers; once those run out, each is cancelled.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QList<Message> messages;
    QList<Message> questions;
    QList<bool> answers;
    QList<IntegerQuestion> numberQuestions;
    QList<std::optional<int>> numbers; // nothing: Cancel

private:
    MessageHandler m_previousMessages;
    QuestionHandler m_previousQuestions;
    IntegerHandler m_previousNumbers;
};

char *toString(const Message &message); // for QCOMPARE
