#pragma once

#include <QString>

#include <functional>
#include <utility>

enum class MessageIcon { None, Error, Exclamation, Information, Question };

// Every message of the program goes through here: a modal box with one OK button.
// The title is "Tessary" when none is given. Details, when given, are shown on request
// below the text, for lists too long for the box itself.
void showMessage(const QString &text, MessageIcon icon = MessageIcon::None,
                 const QString &title = QString(), const QString &details = QString());

struct Message {
    Message() = default;
    Message(QString text, MessageIcon icon, QString title, QString details = QString())
        : text(std::move(text))
        , icon(icon)
        , title(std::move(title))
        , details(std::move(details)) {}
    bool operator==(const Message &) const = default;

    QString text;
    MessageIcon icon = MessageIcon::None;
    QString title;
    QString details;
};

// Replaces how messages are shown, so that tests can record them instead of blocking on a
// modal box; an empty handler restores the box. Returns the handler that was in place.
using MessageHandler = std::function<void(const Message &message)>;
MessageHandler setMessageHandler(MessageHandler handler);

// Asks a question that has Yes and No for answers, in a modal box; No is the default, so that
// Enter or Escape never does what was asked, unless Yes is asked for as the default: for a
// question whose Yes only adds a step and destroys nothing. Escape always answers No. The title
// is "Tessary" when none is given.
enum class DefaultAnswer { No, Yes };
bool askYesNo(const QString &text, const QString &title = QString(),
              DefaultAnswer byDefault = DefaultAnswer::No);

// Replaces how questions are asked, so that tests can answer them; an empty handler restores
// the box. Returns the handler that was in place.
using QuestionHandler = std::function<bool(const Message &question)>;
QuestionHandler setQuestionHandler(QuestionHandler handler);
