#pragma once

#include "MessageBox.h"

#include <QList>
#include <QString>

// Records the messages the program shows instead of opening modal boxes, for its lifetime.
class MessageRecorder {
public:
    struct Message {
        QString text;
        MessageIcon icon;
        QString title;
        bool operator==(const Message &) const = default;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QList<Message> messages;

private:
    MessageHandler m_previous;
};

char *toString(const MessageRecorder::Message &message); // for QCOMPARE
