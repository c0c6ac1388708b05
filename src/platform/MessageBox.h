#pragma once

#include <QString>

#include <functional>

enum class MessageIcon { None, Error, Exclamation };

// Every message of the program goes through here: a modal box with one OK button.
// The title is "Tessary" when none is given.
void showMessage(const QString &text, MessageIcon icon = MessageIcon::None,
                 const QString &title = QString());

// Replaces how messages are shown, so that tests can record them instead of blocking on a
// modal box; an empty handler restores the box. Returns the handler that was in place.
using MessageHandler =
    std::function<void(const QString &text, MessageIcon icon, const QString &title)>;
MessageHandler setMessageHandler(MessageHandler handler);
