#include "RunMessageBox.h"

#include "MessageBox.h"
#include "messages/RunMessages.h"

void showRunMessage(const RunMessage &message) {
    MessageIcon icon = MessageIcon::None;
    switch (message.tone) {
    case RunMessage::Tone::Plain:
        break;
    case RunMessage::Tone::Information:
        icon = MessageIcon::Information;
        break;
    case RunMessage::Tone::Warning:
        icon = MessageIcon::Exclamation;
        break;
    case RunMessage::Tone::Error:
        icon = MessageIcon::Error;
        break;
    }
    showMessage(message.text, icon, message.title, message.details);
}
