#include "JoinCommand.h"

#include "Failure.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "RunMessageBox.h"
#include "WaitWindowSlot.h"
#include "join/JoinRun.h"
#include "run/RunProgress.h"
#include "text/RunMessages.h"

#include <QCoreApplication>

namespace {

class MainWindowText {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

QString title() {
    return MainWindowText::tr("Join Files");
}

} // namespace

JoinCommand::JoinCommand(WaitWindowSlot &waitWindow)
    : m_waitWindow(waitWindow) {}

void JoinCommand::run(QWidget *parent, const QString &startFolder) {
    const QString chosen = chooseFileToOpen(parent, title(),
                                            {MainWindowText::tr("Restore scripts (*.bat)"),
                                             MainWindowText::tr("Checksum lists (*.sha256)"),
                                             MainWindowText::tr("All files (*)")},
                                            startFolder);
    if (!chosen.isEmpty())
        join(chosen);
}

void JoinCommand::join(const QString &chosen) {
    try {
        const JoinPlan plan = planJoin(chosen, *this);
        JoinResult result;
        m_waitWindow.run(WaitFor::Join, [&](ProgressSink &progress, const StopRequest &stop) {
            result = JoinRun(plan, progress, stop).run();
        });
        showRunMessage(RunMessages::join(plan, result));
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
