#include "VerifyCommand.h"
#include "MainWindowText.h"

#include "Failure.h"
#include "FileDialog.h"
#include "RunMessageBox.h"
#include "WaitWindowSlot.h"
#include "messages/RunMessages.h"
#include "verify/Verify.h"

#include <QCoreApplication>

VerifyCommand::VerifyCommand(WaitWindowSlot &waitWindow)
    : m_waitWindow(waitWindow) {}

void VerifyCommand::run(QWidget *parent, const QString &startFolder) {
    const QString chosen = chooseFileToOpen(parent, MainWindowText::tr("Verify Pieces"),
                                            {MainWindowText::tr("Checksum lists (*.sha256)"),
                                             MainWindowText::tr("Restore scripts (*.bat *.sh)"),
                                             MainWindowText::tr("All files (*)")},
                                            startFolder);
    if (!chosen.isEmpty())
        verify(chosen);
}

void VerifyCommand::verify(const QString &chosen) {
    try {
        const VerifyPlan plan = planVerify(chosen);
        VerifyResult result;
        m_waitWindow.run(WaitFor::Verify, [&](ProgressSink &progress, const StopRequest &stop) {
            result = runVerify(plan, progress, stop);
        });
        showRunMessage(RunMessages::verify(plan, result));
    } catch (...) {
        showRunMessage(RunMessages::verifyFailure(Failure::current()));
    }
}
