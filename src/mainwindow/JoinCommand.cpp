#include "JoinCommand.h"

#include "FileDialog.h"
#include "JoinRun.h"
#include "MessageBox.h"
#include "WaitWindowSlot.h"

#include <QDir>

namespace {

const QString kTitle = QStringLiteral("Join Files");

} // namespace

JoinCommand::JoinCommand(WaitWindowSlot &waitWindow)
    : m_waitWindow(waitWindow) {}

void JoinCommand::run(QWidget *parent, const QString &startFolder) {
    const QString chosen = chooseFileToOpen(
        parent, kTitle,
        {QStringLiteral("Restore scripts (*.bat)"), QStringLiteral("All files (*)")}, startFolder);
    if (chosen.isEmpty())
        return;
    try {
        JoinRun(*this).join(chosen);
    } catch (const JoinDeclined &) {
        // The user answered No, and nothing was written: there is nothing more to say.
    } catch (const FileError &error) {
        showMessage(QStringLiteral("The pieces were not joined, and nothing was written.\n\n%1: %2")
                        .arg(QDir::toNativeSeparators(error.path()), error.reason()),
                    MessageIcon::Error, QStringLiteral("Error: Join Failed"));
    }
}

bool JoinCommand::askYesNo(const QString &question) {
    return ::askYesNo(question, kTitle);
}

WaitWindowHost &JoinCommand::waitWindow() {
    return m_waitWindow;
}

void JoinCommand::showRestoredMessage(const QString &text) {
    showMessage(text, MessageIcon::Information);
}
