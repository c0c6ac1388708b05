#include "JoinCommand.h"

#include "FileDialog.h"
#include "JoinRun.h"
#include "MessageBox.h"
#include "MessageText.h"
#include "RunFailure.h"
#include "RunProgress.h"
#include "WaitWindowSlot.h"

#include <QDir>

namespace {

const QString kTitle = QStringLiteral("Join Files");

void showFailed(const QString &path, const QString &reason) {
    const QString where =
        path.isEmpty() ? QString() : QDir::toNativeSeparators(path) + QStringLiteral(": ");
    showMessage(QStringLiteral("The pieces were not joined, and nothing was written.\n\n%1")
                    .arg(printable(where + reason)),
                MessageIcon::Error, QStringLiteral("Error: Join Failed"));
}

} // namespace

JoinCommand::JoinCommand(WaitWindowSlot &waitWindow)
    : m_waitWindow(waitWindow) {}

void JoinCommand::run(QWidget *parent, const QString &startFolder) {
    const QString chosen = chooseFileToOpen(
        parent, kTitle,
        {QStringLiteral("Restore scripts (*.bat)"), QStringLiteral("All files (*)")}, startFolder);
    if (!chosen.isEmpty())
        join(chosen);
}

void JoinCommand::join(const QString &chosen) {
    try {
        const JoinPlan plan = planJoin(chosen, *this);
        RunResult result;
        m_waitWindow.run([&](ProgressSink &progress, const StopRequest &stop) {
            result = JoinRun(plan, progress, stop).run();
        });
        switch (result.outcome) {
        case RunOutcome::Done:
            showMessage(printable(plan.recipe.destination) + QStringLiteral(" has been restored"),
                        MessageIcon::Information);
            break;
        case RunOutcome::Stopped:
            showMessage(QStringLiteral("The join was stopped. Nothing was written."),
                        MessageIcon::Information, QStringLiteral("Join Stopped"));
            break;
        case RunOutcome::Failed:
            showFailed(result.failedPath, result.reason);
            break;
        }
    } catch (const JoinDeclined &) {
        // The user answered No, and nothing was written: there is nothing more to say.
    } catch (...) {
        const RunFailure failure = describeFailure(std::current_exception());
        showFailed(failure.path, failure.reason);
    }
}

bool JoinCommand::askYesNo(const QString &question) {
    return ::askYesNo(question, kTitle);
}
