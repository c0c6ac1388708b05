#include "SplitCommand.h"

#include "MessageBox.h"
#include "MessageText.h"
#include "RunFailure.h"
#include "RunProgress.h"
#include "SplitPlan.h"
#include "SplitRefusal.h"
#include "SplitRun.h"
#include "WaitWindowSlot.h"

#include <QDir>
#include <QStringList>

namespace {

// Refusals listed in the box itself; more go into its details.
constexpr qsizetype kRefusalsInBox = 10;

const QString kFailedTitle = QStringLiteral("Error: Split Failed");

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

void showRefused(const QList<Refusal> &refusals) {
    // A long list goes into the details, so that the box still fits the screen.
    showMessage(refusalMessage(refusals, kRefusalsInBox), MessageIcon::Error, kFailedTitle,
                refusals.size() > kRefusalsInBox ? refusalMessage(refusals) : QString());
}

// The source is named once, whether the failure was its own or an output's; without one
// (memory ran out before the first file), the failure is told on its own.
void showFailed(const QString &source, const QString &failedPath, const QString &reason) {
    const QString failed = native(failedPath);
    const QString why = printable(failed.isEmpty() || failed == native(source)
                                      ? reason
                                      : failed + QStringLiteral(": ") + reason);
    showMessage(
        source.isEmpty()
            ? QStringLiteral("The files could not be split.\n\n%1").arg(why)
            : QStringLiteral("%1 could not be split.\n\n%2").arg(printable(native(source)), why),
        MessageIcon::Error, kFailedTitle);
}

// "a, b and c"
QString namesList(const QStringList &names) {
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           names.last();
}

void showStopped(const SplitPlan &plan, const SplitResult &result) {
    QStringList split;
    for (qint64 i = 0; i < result.filesDone; ++i) {
        const QString name = printable(plan.files[i].queued.name);
        if (!split.contains(name))
            split << name;
    }
    QStringList sentences{QStringLiteral("The split was stopped.")};
    const qint64 notStarted =
        plan.files.size() - result.filesDone - (result.stoppedFile >= 0 ? 1 : 0);
    if (result.stoppedFile >= 0) {
        const QString stopped = printable(plan.files[result.stoppedFile].queued.name);
        sentences
            << (split.isEmpty()
                    ? QStringLiteral("%1 was not split, and its pieces were removed.").arg(stopped)
                    : QStringLiteral("%1 %2 split; %3 was not, and its pieces were removed.")
                          .arg(namesList(split),
                               split.size() == 1 ? QStringLiteral("was") : QStringLiteral("were"),
                               stopped));
    } else if (!split.isEmpty()) {
        sentences << QStringLiteral("%1 %2 split.")
                         .arg(namesList(split),
                              split.size() == 1 ? QStringLiteral("was") : QStringLiteral("were"));
    }
    if (notStarted > 0)
        sentences << (notStarted == 1
                          ? QStringLiteral("1 file was not started.")
                          : QStringLiteral("%1 files were not started.").arg(notStarted));
    showMessage(sentences.join(u' '), MessageIcon::Information, QStringLiteral("Split Stopped"));
}

} // namespace

SplitCommand::SplitCommand(WaitWindowSlot &waitWindow)
    : m_waitWindow(waitWindow) {}

void SplitCommand::run(const SplitRequest &request) {
    try {
        const SplitPlan plan = planSplit(request);
        SplitResult result;
        m_waitWindow.run([&](ProgressSink &progress, const StopRequest &stop) {
            result = SplitRun(plan, progress, stop).run();
        });
        switch (result.outcome) {
        case RunOutcome::Done:
            showMessage(QStringLiteral("I am done splitting all of the files"));
            break;
        case RunOutcome::Stopped:
            showStopped(plan, result);
            break;
        case RunOutcome::Failed:
            showFailed(result.stoppedFile >= 0 ? plan.files[result.stoppedFile].queued.path
                                               : QString(),
                       result.failedPath, result.reason);
            break;
        }
    } catch (const SplitRefused &refused) {
        showRefused(refused.refusals());
    } catch (...) {
        const RunFailure failure = describeFailure(std::current_exception());
        showFailed({}, failure.path, failure.reason);
    }
}
