#include "ScriptReplay.h"
#include "SignalStop.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "join/JoinPlanner.h"
#include "join/JoinRun.h"
#include "run/ProgressCounter.h"
#include "run/WorkerPool.h"
#include "split/PieceCutter.h"
#include "split/SplitPlan.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <csignal>
#include <functional>

// A stop, wherever it comes, leaves whole files or nothing: the files split before it
// complete, nothing of the one under way or of those after it, and never a script that names
// a missing piece. A join leaves nothing at all.
class StopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stopAtEachPointOfASplit_data();
    void stopAtEachPointOfASplit();
    void nothingIsLeftOfAnEarlierSplitOfTheFileUnderWay_data();
    void nothingIsLeftOfAnEarlierSplitOfTheFileUnderWay();
    void stopDuringAJoinWritesNothing();
    void progressCountsEveryByteAndFileOnce();
    void stopIsSeenWithinAChunk_data();
    void stopIsSeenWithinAChunk();
    void signalsStopATerminalRun_data();
    void signalsStopATerminalRun();
};

namespace {

// How a test asks for the stop: given the hooks and the stop request, it arranges the hook.
using StopPoint = std::function<void(ProgressHooks &hooks, StopRequest &stop)>;

struct Queue {
    QTemporaryDir in;
    QTemporaryDir out;
    SplitSetup job;
    QList<QByteArray> sources;

    // a.bin (2 pieces), b.bin (a piece of 20 MB and a short one), c.bin (2 pieces), at pieces
    // of 20 MB; b's single piece takes several chunks.
    Queue() {
        job.folder = out.path();
        job.size = QStringLiteral("20000001");
        const QList<qint64> lengths{20'000'010, 20'000'100, 20'000'001};
        for (qsizetype i = 0; i < lengths.size(); ++i) {
            const QString path = in.filePath(QChar(char16_t(u'a' + i)) + QStringLiteral(".bin"));
            sources << patternBytes(lengths[i], quint32(i + 1));
            writeTestFile(path, sources.last());
            job.add(path);
        }
    }
};

} // namespace

Q_DECLARE_METATYPE(StopPoint)

void StopTest::stopAtEachPointOfASplit_data() {
    QTest::addColumn<StopPoint>("point");
    QTest::addColumn<int>("complete");     // files complete afterwards
    QTest::addColumn<qint64>("stoppedIn"); // the file whose pieces were removed, or -1
    QTest::addRow("in the first piece") << StopPoint([](ProgressHooks &hooks, StopRequest &stop) {
        hooks.onBytesCopied = [&](qint64) { stop.request(); };
    }) << 0 << qint64(0);
    QTest::addRow("in the middle of a large piece")
        << StopPoint([](ProgressHooks &hooks, StopRequest &stop) {
               // Past a's 20 MB and one chunk into b's first piece.
               hooks.onBytesCopied = [&](qint64 copied) {
                   if (copied > 20'000'010 + (qint64(8) << 20))
                       stop.request();
               };
           })
        << 1 << qint64(1);
    QTest::addRow("between files") << StopPoint([](ProgressHooks &hooks, StopRequest &stop) {
        hooks.onFileFinished = [&](qint64 index) {
            if (index == 0)
                stop.request();
        };
    }) << 1 << qint64(-1);
    QTest::addRow("while the script is written")
        << StopPoint([](ProgressHooks &hooks, StopRequest &stop) {
               hooks.onFileFinishing = [&](qint64 index) {
                   if (index == 1)
                       stop.request();
               };
           })
        << 1 << qint64(1);
    // Every byte is written by then: the run is done, and only waits for the disk.
    QTest::addRow("during the flush") << StopPoint([](ProgressHooks &hooks, StopRequest &stop) {
        hooks.onFlush = [&] { stop.request(); };
    }) << 3 << qint64(-1);
}

void StopTest::stopAtEachPointOfASplit() {
    QFETCH(StopPoint, point);
    QFETCH(int, complete);
    QFETCH(qint64, stoppedIn);
    Queue queue;
    // An earlier split's script and pieces of b are there: a stop must not leave them beside
    // new pieces.
    writeTestFile(queue.out.filePath(QStringLiteral("b.bin.1")), "old");
    writeTestFile(queue.out.filePath(QStringLiteral("b.bin.bat")),
                  earlierScript(QStringLiteral("b.bin"), 1));
    ProgressHooks hooks;
    StopRequest stop;
    point(hooks, stop);

    const SplitResult result = queue.job.run(hooks, stop);

    QVERIFY(result.outcome == (complete == 3 ? RunOutcome::Done : RunOutcome::Stopped));
    QCOMPARE(result.filesDone, complete);
    QCOMPARE(result.stoppedFile, stoppedIn);
    QStringList expected;
    for (int i = 0; i < complete; ++i) {
        const QString name = queue.job.queue[i].name;
        expected << name + QStringLiteral(".1") << name + QStringLiteral(".2")
                 << name + QStringLiteral(".bat") << name + QStringLiteral(".sh")
                 << name + QStringLiteral(".sha256");
        const ScriptReplay replay = replayScript(queue.out.path(), name + QStringLiteral(".bat"));
        QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
        QVERIFY(replay.joined.value(name) == queue.sources[i]);
    }
    if (complete < 2 && stoppedIn != 1) // b was not reached: its old files are untouched
        expected << QStringLiteral("b.bin.1") << QStringLiteral("b.bin.bat");
    expected.sort();
    QCOMPARE(filesIn(queue.out.path()), expected);
    // What was finished is on the disk before the run says it stopped.
    QCOMPARE(hooks.events.last(), QStringLiteral("flush"));
}

void StopTest::nothingIsLeftOfAnEarlierSplitOfTheFileUnderWay_data() {
    QTest::addColumn<bool>("fail"); // else stop
    QTest::addRow("stopped") << false;
    QTest::addRow("failed") << true;
}

void StopTest::nothingIsLeftOfAnEarlierSplitOfTheFileUnderWay() {
    QFETCH(bool, fail);
    QTemporaryDir in;
    QTemporaryDir out;
    const QString path = in.filePath(QStringLiteral("r.bin"));
    writeTestFile(path, patternBytes(1000));
    // An earlier split of the file into 100 pieces, many more than the threads that cut them.
    splitOneFile(path, out.path(), QStringLiteral("11"));
    writeTestFile(path, patternBytes(1000, 2));
    SplitSetup job;
    job.add(path);
    job.folder = out.path();
    job.size = QStringLiteral("11");
    ProgressHooks hooks;
    StopRequest stop;
    hooks.onBytesCopied = [&](qint64) {
        if (!fail) {
            stop.request();
            return;
        }
        // A piece further on cannot be written: a folder stands at its name now.
        const QString piece = out.filePath(QStringLiteral("r.bin.50"));
        if (QFileInfo(piece).isFile() && QFile::remove(piece))
            QDir(out.path()).mkdir(QStringLiteral("r.bin.50"));
    };

    const SplitResult result = job.run(hooks, stop);

    QVERIFY(result.outcome == (fail ? RunOutcome::Failed : RunOutcome::Stopped));
    QCOMPARE(result.stoppedFile, 0);
    // Neither old pieces without their script, nor new ones: a folder is not the split's.
    QCOMPARE(filesIn(out.path()), QStringList());
}

void StopTest::stopDuringAJoinWritesNothing() {
    QTemporaryDir out;
    Queue queue;
    splitOneFile(queue.job.queue[1].path, out.path(), QStringLiteral("10000001"));
    writeTestFile(out.filePath(QStringLiteral("b.bin")), "the user's b.bin");
    const QStringList before = filesIn(out.path());
    Yes yes;
    ProgressHooks hooks;
    StopRequest stop;
    hooks.onBytesCopied = [&](qint64 copied) {
        if (copied > 10'000'000) // in the second piece
            stop.request();
    };

    const RunResult result = joinFile(out.filePath(QStringLiteral("b.bin.bat")), yes, hooks, stop);

    QVERIFY(result.outcome == RunOutcome::Stopped);
    QCOMPARE(filesIn(out.path()), before); // no temporary file
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("b.bin"))), QByteArray("the user's b.bin"));
}

void StopTest::progressCountsEveryByteAndFileOnce() {
    Queue queue;
    queue.job.add(queue.job.queue[0].path); // the same file twice is split, and counted, once
    ProgressHooks hooks;
    ProgressCounter counter;
    // The counter, told by the run through the hooks' recording.
    struct Both : ProgressSink {
        ProgressSink &a;
        ProgressSink &b;
        Both(ProgressSink &a, ProgressSink &b)
            : a(a)
            , b(b) {}
        void runStarted(qint64 f, qint64 n) override { a.runStarted(f, n), b.runStarted(f, n); }
        void fileStarted(qint64 i, const QString &s, qint64 n) override {
            a.fileStarted(i, s, n), b.fileStarted(i, s, n);
        }
        void bytesCopied(qint64 n) override { a.bytesCopied(n), b.bytesCopied(n); }
        void fileFinishing(qint64 i) override { a.fileFinishing(i), b.fileFinishing(i); }
        void fileFinished(qint64 i) override { a.fileFinished(i), b.fileFinished(i); }
        void flushStarted() override { a.flushStarted(), b.flushStarted(); }
    } both(hooks, counter);

    QList<qint64> perFile; // as each file is done: its own bytes, counted from nothing
    hooks.onFileFinishing = [&](qint64) { perFile << counter.snapshot().fileDone; };

    QVERIFY(queue.job.run(both, StopRequest()).outcome == RunOutcome::Done);

    QCOMPARE(perFile, (QList<qint64>{20'000'010, 20'000'100, 20'000'001}));
    const qint64 written = 20'000'010 + 20'000'100 + 20'000'001;
    const ProgressSnapshot end = counter.snapshot();
    QCOMPARE(end.totalBytes, written);
    QCOMPARE(end.doneBytes, written);
    QCOMPARE(end.files, 3);
    QCOMPARE(end.file, 2);
    QVERIFY(end.flushing);
    QCOMPARE(hooks.events.filter(QStringLiteral("start ")),
             (QStringList{QStringLiteral("start 0"), QStringLiteral("start 1"),
                          QStringLiteral("start 2")}));
    QCOMPARE(hooks.events.last(), QStringLiteral("flush"));
}

void StopTest::stopIsSeenWithinAChunk_data() {
    QTest::addColumn<QString>("source"); // empty: the queue's first file, of 20 MB
    QTest::addRow("a file of 20 MB") << QString();
    QTest::addRow("a file whose length is unknown") << QStringLiteral("/proc/version");
}

void StopTest::stopIsSeenWithinAChunk() {
    QFETCH(QString, source);
    Queue queue;
    SplitSetup job;
    job.folder = queue.job.folder;
    job.size = source.isEmpty() ? queue.job.size : QStringLiteral("4");
    job.add(source.isEmpty() ? queue.job.queue[0].path : source);
    ProgressHooks hooks;
    StopRequest stop;
    std::atomic<qint64> atStop{-1}; // workers report at the same time
    hooks.onBytesCopied = [&](qint64 copied) {
        qint64 none = -1;
        atStop.compare_exchange_strong(none, copied);
        stop.request();
    };

    QVERIFY(job.run(hooks, stop).outcome == RunOutcome::Stopped);

    // Each thread finishes at most the chunk it is copying.
    QVERIFY(hooks.bytes - atStop <= WorkerPool::defaultSize() * PieceCutter::kChunkBytes);
    QCOMPARE(filesIn(queue.out.path()), QStringList());
}

void StopTest::signalsStopATerminalRun_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("ignoredBefore"); // as nohup or a shell's background job leave it
    QTest::addColumn<int>("exitStatus");
    QTest::addRow("Ctrl+C") << SIGINT << false << 130;
    QTest::addRow("SIGTERM") << SIGTERM << false << 143;
    QTest::addRow("SIGHUP, a terminal or SSH session gone") << SIGHUP << false << 129;
    QTest::addRow("SIGQUIT") << SIGQUIT << false << 131;
    QTest::addRow("SIGHUP under nohup") << SIGHUP << true << 0;
    QTest::addRow("Ctrl+C of a background job") << SIGINT << true << 0;
}

void StopTest::signalsStopATerminalRun() {
    QFETCH(int, signal);
    QFETCH(bool, ignoredBefore);
    QFETCH(int, exitStatus);
    const auto restore = qScopeGuard([signal] { std::signal(signal, SIG_DFL); });
    if (ignoredBefore)
        std::signal(signal, SIG_IGN);
    Queue queue;
    ProgressHooks hooks;
    StopRequest stop;
    const SignalStop signals(stop);
    hooks.onBytesCopied = [&](qint64 copied) {
        if (copied > 20'000'010 + (qint64(8) << 20))
            std::raise(signal);
    };

    const SplitResult result = queue.job.run(hooks, stop);

    if (ignoredBefore) {
        QVERIFY(result.outcome == RunOutcome::Done);
        QCOMPARE(SignalStop::received(), 0);
        return;
    }
    QVERIFY(result.outcome == RunOutcome::Stopped);
    QCOMPARE(SignalStop::exitStatus(), exitStatus);
    QCOMPARE(filesIn(queue.out.path()),
             (QStringList{QStringLiteral("a.bin.1"), QStringLiteral("a.bin.2"),
                          QStringLiteral("a.bin.bat"), QStringLiteral("a.bin.sh"),
                          QStringLiteral("a.bin.sha256")}));
}

QTEST_GUILESS_MAIN(StopTest)
#include "tst_stop.moc"
