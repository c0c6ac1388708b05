#pragma once

#include "WaitWindowHost.h"

#include <QString>

// What a join needs from the window that starts it: questions to the user, the wait window
// and the message that the file is restored.
class JoinHost {
public:
    virtual ~JoinHost() = default;

    // Asks a question that has Yes and No for answers, No unless the user says otherwise.
    virtual bool askYesNo(const QString &question) = 0;
    virtual WaitWindowHost &waitWindow() = 0;
    virtual void showRestoredMessage(const QString &text) = 0;
};
