#pragma once

#include <QString>

// A question a job asks the user before it does something it cannot undo, or something only the
// user may decide: replace a file, join without a script, rebuild pieces.
struct Question {
    QString text;
    // Yes destroys nothing and only adds a step: a window makes Yes its default.
    bool likelyYes = false;
};

// The one way a job asks: the window answers with its box, on its own thread, the terminal as
// -y says. Called on the job's thread, which waits for the answer.
class Questions {
public:
    virtual ~Questions() = default;
    virtual bool ask(const Question &question) = 0;
};
