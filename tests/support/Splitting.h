#pragma once

#include "join/JoinPlanner.h"
#include "run/RunProgress.h"
#include "run/Work.h"
#include "split/SplitRequest.h"
#include "split/SplitRun.h"

#include <QList>
#include <QString>

#include <QStringList>

#include <functional>
#include <mutex>

// A split as a test sets it up: the queue, the output folder and the piece size as the window
// would read it.
struct SplitSetup {
    QList<QueuedFile> queue;
    QString folder;
    QString size = QStringLiteral("10");
    RecoveryAmount recovery;
    QList<OutputNames::Kind> leftOut;
    RunOptions options;
    const FileSystem *files = &FileSystem::system();

    // Queues a file by its full path, with its bare name.
    void add(const QString &path);
    SplitRequest request() const;
    // Plans and runs the split: throws SplitRefused when it is refused.
    SplitResult run(ProgressSink &progress, const StopRequest &stop) const;
    SplitResult run() const;
    // Plans the split, calls afterCheck, then runs it; the plan and its locks are gone when it
    // returns.
    SplitResult run(const std::function<void()> &afterCheck) const;
};

// Questions answered from answers, in turn, and No once they run out; every question asked is
// kept, in order.
class Answers : public Questions {
public:
    explicit Answers(QList<bool> answers = {})
        : answers(std::move(answers)) {}
    bool ask(const Question &question) override;

    QList<bool> answers;
    QList<Question> asked;
};

// Every question answered Yes.
class Yes : public Questions {
public:
    bool ask(const Question &) override { return true; }
};

// Work for a plan made by a test: told to no one, never stopped, its questions asked of
// questions, through files.
Work testWork(Questions &questions, const FileSystem &files = FileSystem::system());
// The same, every question answered No.
Work testWork(const FileSystem &files = FileSystem::system());

// Plans the join of chosen and runs it; the plan and its lock are gone when it returns.
JoinResult joinFile(const QString &chosen, Questions &questions, ProgressSink &progress,
                    const StopRequest &stop = StopRequest());

// The restore script an earlier split of name into pieces pieces left, as the split writes it.
QByteArray earlierScript(const QString &name, qint64 pieces);

// Splits the file at source into the folder out with the engine, at the piece size given, and
// checks that it worked.
void splitOneFile(const QString &source, const QString &out, const QString &size,
                  const RunOptions &options = {});

// A progress sink that runs the test's own code at the run's events, on the run's thread, and
// records the events in order ("start 0", "finishing 0", "done 0", "flush"). What the check
// before the run reads is no byte copied.
class ProgressHooks : public ProgressSink {
public:
    std::function<void(qint64 index)> onFileStarted;
    std::function<void(qint64 index)> onFileFinishing;
    std::function<void(qint64 index)> onFileFinished;
    std::function<void(qint64 bytes)> onBytesCopied; // with the bytes copied so far
    std::function<void()> onFlush;
    QStringList events;
    qint64 bytes = 0;

    void runStarted(qint64 files, qint64 bytes) override;
    void checkStarted(const QString &name, qint64 bytes) override;
    void fileStarted(qint64 index, const QString &name, qint64 bytes) override;
    void bytesCopied(qint64 copied) override;
    void fileFinishing(qint64 index) override;
    void fileFinished(qint64 index) override;
    void flushStarted() override;

private:
    std::mutex m_mutex;
    bool m_checking = false;
};
