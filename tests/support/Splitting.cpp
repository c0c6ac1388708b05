#include "Splitting.h"

#include "OutputTexts.h"

#include "join/JoinRun.h"
#include "names/OutputNames.h"
#include "names/RestoreScript.h"
#include "sizes/PieceLength.h"
#include "split/SplitPlanner.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

void SplitSetup::add(const QString &path) {
    queue.append({QDir::toNativeSeparators(path), QFileInfo(path).fileName()});
}

namespace {

// A split asks nothing.
class NoQuestions : public Questions {
public:
    bool ask(const Question &) override { return false; }
};

} // namespace

SplitRequest SplitSetup::request() const {
    SplitRequest request;
    request.queue = queue;
    request.outputFolder = QDir::toNativeSeparators(folder);
    request.pieceLength = fullPieceLength(size).value_or(1);
    request.recovery = recovery;
    request.leftOut = leftOut;
    return request;
}

SplitResult SplitSetup::run(ProgressSink &progress, const StopRequest &stop) const {
    NoQuestions none;
    SplitPlan plan = planSplit(request(), {progress, stop, none, *files});
    return SplitRun(plan, progress, stop, options).run();
}

SplitResult SplitSetup::run() const {
    ProgressSink progress;
    const StopRequest stop;
    return run(progress, stop);
}

SplitResult SplitSetup::run(const std::function<void()> &afterCheck) const {
    SplitPlan plan = planSplit(request(), testWork(*files));
    afterCheck();
    ProgressSink progress;
    return SplitRun(plan, progress, StopRequest(), options).run();
}

void splitOneFile(const QString &source, const QString &out, const QString &size,
                  const RunOptions &options) {
    SplitSetup job;
    job.add(source);
    job.folder = out;
    job.size = size;
    job.options = options;
    const SplitResult result = job.run();
    // QVERIFY2 reads its message even when the check passes, and a done run has no failure.
    QVERIFY2(result.outcome == RunOutcome::Done,
             result.failure ? result.failure->what() : "no failure was reported");
}

void ProgressHooks::fileStarted(qint64 index, const QString &, qint64) {
    {
        const std::lock_guard lock(m_mutex);
        events << QStringLiteral("start %1").arg(index);
    }
    if (onFileStarted)
        onFileStarted(index);
}

void ProgressHooks::runStarted(qint64, qint64) {
    const std::lock_guard lock(m_mutex);
    m_checking = false;
}

void ProgressHooks::checkStarted(const QString &, qint64) {
    const std::lock_guard lock(m_mutex);
    m_checking = true;
}

void ProgressHooks::bytesCopied(qint64 copied) {
    qint64 total = 0;
    {
        const std::lock_guard lock(m_mutex);
        if (m_checking)
            return;
        total = bytes += copied;
    }
    if (onBytesCopied)
        onBytesCopied(total);
}

void ProgressHooks::fileFinishing(qint64 index) {
    {
        const std::lock_guard lock(m_mutex);
        events << QStringLiteral("finishing %1").arg(index);
    }
    if (onFileFinishing)
        onFileFinishing(index);
}

void ProgressHooks::fileFinished(qint64 index) {
    {
        const std::lock_guard lock(m_mutex);
        events << QStringLiteral("done %1").arg(index);
    }
    if (onFileFinished)
        onFileFinished(index);
}

void ProgressHooks::flushStarted() {
    {
        const std::lock_guard lock(m_mutex);
        events << QStringLiteral("flush");
    }
    if (onFlush)
        onFlush();
}

bool Answers::ask(const Question &question) {
    asked << question;
    return answers.isEmpty() ? false : answers.takeFirst();
}

Work testWork(Questions &questions, const FileSystem &files) {
    static ProgressSink heard;
    static const StopRequest never;
    return {heard, never, questions, files};
}

Work testWork(const FileSystem &files) {
    static NoQuestions none;
    return testWork(none, files);
}

JoinResult joinFile(const QString &chosen, Questions &questions, ProgressSink &progress,
                    const StopRequest &stop) {
    const JoinPlan plan = planJoin(chosen, {progress, stop, questions});
    return JoinRun(plan, progress, stop).run();
}

QByteArray earlierScript(const QString &name, qint64 pieces) {
    return restoreScriptText(OutputNames(name), pieces);
}
