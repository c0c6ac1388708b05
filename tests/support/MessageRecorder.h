#pragma once

#include "MessageBox.h"

#include <QList>

// Records the messages the program shows instead of opening modal boxes, for its lifetime.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QList<Message> messages;

private:
    MessageHandler m_previous;
};

char *toString(const Message &message); // for QCOMPARE
