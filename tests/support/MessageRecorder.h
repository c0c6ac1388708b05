#pragma once

#include "MessageBox.h"

#include <QList>

// Records the messages the program shows and the questions it asks instead of opening modal
// boxes, for its lifetime. Questions take their answers from answers, in turn; once those run
// out, each is answered No, as the box's default.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QList<Message> messages;
    QList<Message> questions;
    QList<bool> answers;

private:
    MessageHandler m_previousMessages;
    QuestionHandler m_previousQuestions;
};

char *toString(const Message &message); // for QCOMPARE
