#include "JoinCommand.h"
#include "MainWindowText.h"

#include "Failure.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "RunMessageBox.h"
#include "WaitWindowSlot.h"
#include "join/RebuildingJoin.h"
#include "messages/RunMessages.h"
#include "run/RunProgress.h"

#include <QCoreApplication>

namespace {

QString title() {
    return MainWindowText::tr("Join Files");
}

} // namespace

JoinCommand::JoinCommand(WaitWindowSlot &waitWindow)
    : m_waitWindow(waitWindow) {}

void JoinCommand::run(QWidget *parent, const QString &startFolder) {
    const QString chosen = chooseFileToOpen(parent, title(),
                                            {MainWindowText::tr("Restore scripts (*.bat *.sh)"),
                                             MainWindowText::tr("Checksum lists (*.sha256)"),
                                             MainWindowText::tr("All files (*)")},
                                            startFolder);
    if (!chosen.isEmpty())
        join(chosen);
}

void JoinCommand::join(const QString &chosen) {
    try {
        const JoinOutcome outcome = joinRebuilding(
            chosen, *this, [this](const LongWork &work) { m_waitWindow.run(WaitFor::Join, work); },
            [] { return true; });
        showRunMessage(RunMessages::join(outcome.plan, outcome.result));
    } catch (...) {
        const Failure failure = Failure::current();
        // The user answered No, and nothing was written: there is nothing more to say.
        if (failure.kind() != Failure::Kind::Declined)
            showRunMessage(RunMessages::joinFailure(failure));
    }
}

bool JoinCommand::askYesNo(const QString &question) {
    return ::askYesNo(question, title());
}

bool JoinCommand::askYesNoLikelyYes(const QString &question) {
    return ::askYesNo(question, title(), DefaultAnswer::Yes);
}
