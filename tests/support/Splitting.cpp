#include "Splitting.h"

#include "join/JoinRun.h"
#include "names/OutputNames.h"
#include "names/RestoreScript.h"
#include "sizes/PieceLength.h"
#include "split/SplitPlanner.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

void SplitJob::add(const QString &path) {
    queue.append({QDir::toNativeSeparators(path), QFileInfo(path).fileName()});
}

SplitRequest SplitJob::request() const {
    SplitRequest request;
    request.queue = queue;
    request.outputFolder = QDir::toNativeSeparators(folder);
    request.pieceLength = fullPieceLength(size).value_or(1);
    request.recovery = recovery;
    request.leftOut = leftOut;
    return request;
}

SplitResult SplitJob::run(ProgressSink &progress, const StopRequest &stop) const {
    const SplitPlan plan = planSplit(request());
    return SplitRun(plan, progress, stop, options).run();
}

SplitResult SplitJob::run() const {
    ProgressSink progress;
    const StopRequest stop;
    return run(progress, stop);
}

SplitResult SplitJob::run(const std::function<void()> &afterCheck) const {
    const SplitPlan plan = planSplit(request());
    afterCheck();
    ProgressSink progress;
    return SplitRun(plan, progress, StopRequest(), options).run();
}

void splitOneFile(const QString &source, const QString &out, const QString &size,
                  const RunOptions &options) {
    SplitJob job;
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

void ProgressHooks::bytesCopied(qint64 copied) {
    qint64 total = 0;
    {
        const std::lock_guard lock(m_mutex);
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

JoinResult joinFile(const QString &chosen, JoinQuestions &questions, ProgressSink &progress,
                    const StopRequest &stop) {
    const JoinPlan plan = planJoin(chosen, questions);
    return JoinRun(plan, progress, stop).run();
}

QByteArray earlierScript(const QString &name, qint64 pieces) {
    return RestoreScript::scriptFor(OutputNames(name), pieces);
}
