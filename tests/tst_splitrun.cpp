#include "FaultyFileSystem.h"
#include "ScriptReplay.h"
#include "Splitting.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <unistd.h>

class SplitRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void queueIsSplitInOrder();
    void outputFolderWithOrWithoutSeparator_data();
    void outputFolderWithOrWithoutSeparator();
    void failureStopsTheRunAtTheFailingEntry_data();
    void failureStopsTheRunAtTheFailingEntry();
    void diskFillingUpStopsTheRunMidFile_data();
    void diskFillingUpStopsTheRunMidFile();
    void piecesFlushedOnTheWayLeaveFailuresToTheLastFlush_data();
    void piecesFlushedOnTheWayLeaveFailuresToTheLastFlush();

private:
    struct Queue {
        QTemporaryDir in;
        QTemporaryDir out;
        SplitSetup job;
        QList<QByteArray> sources;
    };
    // Queues files of the given lengths, named a.bin, b.bin, ...
    static void fill(Queue &queue, const QList<qint64> &lengths);
    static void verifyComplete(const Queue &queue, int index, int pieces);
    static qsizetype threadCount();
};

void SplitRunTest::fill(Queue &queue, const QList<qint64> &lengths) {
    queue.job.folder = queue.out.path();
    for (qsizetype i = 0; i < lengths.size(); ++i) {
        const QString path = queue.in.filePath(QChar(char16_t(u'a' + i)) + QStringLiteral(".bin"));
        queue.sources << patternBytes(lengths[i], quint32(i + 1));
        writeTestFile(path, queue.sources.last());
        queue.job.add(path);
    }
}

void SplitRunTest::verifyComplete(const Queue &queue, int index, int pieces) {
    const QString name = queue.job.queue.at(index).name;
    for (int piece = 1; piece <= pieces; ++piece)
        QVERIFY(QFile::exists(queue.out.filePath(name + u'.' + QString::number(piece))));
    QVERIFY(!QFile::exists(queue.out.filePath(name + u'.' + QString::number(pieces + 1))));
    const ScriptReplay replay = replayScript(queue.out.path(), name + QStringLiteral(".bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QVERIFY(replay.joined.value(name) == queue.sources.at(index));
}

void SplitRunTest::queueIsSplitInOrder() {
    Queue queue;
    fill(queue, {250, 0, 99});
    queue.job.size = QStringLiteral("100");
    ProgressHooks progress;
    // Each file's pieces are complete before its script is written, and before the next file;
    // the run ends by waiting for the disk.
    QStringList seen;
    progress.onFileFinishing = [&](qint64 index) {
        seen << QStringLiteral("%1: %2 files")
                    .arg(index)
                    .arg(QDir(queue.out.path()).entryList(QDir::Files).size());
    };

    const SplitResult result = queue.job.run(progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Done);
    QCOMPARE(result.filesDone, 3);
    verifyComplete(queue, 0, 3);
    verifyComplete(queue, 1, 1);
    verifyComplete(queue, 2, 1);
    QCOMPARE(progress.events, (QStringList{QStringLiteral("start 0"), QStringLiteral("finishing 0"),
                                           QStringLiteral("done 0"), QStringLiteral("start 1"),
                                           QStringLiteral("finishing 1"), QStringLiteral("done 1"),
                                           QStringLiteral("start 2"), QStringLiteral("finishing 2"),
                                           QStringLiteral("done 2"), QStringLiteral("flush")}));
    QCOMPARE(seen, (QStringList{QStringLiteral("0: 3 files"), QStringLiteral("1: 7 files"),
                                QStringLiteral("2: 11 files")}));

    // The same queue again writes the same files again.
    QVERIFY(queue.job.run().outcome == RunOutcome::Done);
    verifyComplete(queue, 0, 3);
    QCOMPARE(filesIn(queue.out.path()).size(), 14);
}

void SplitRunTest::outputFolderWithOrWithoutSeparator_data() {
    QTest::addColumn<bool>("trailingSeparator");
    QTest::addRow("without") << false;
    QTest::addRow("with") << true;
}

void SplitRunTest::outputFolderWithOrWithoutSeparator() {
    QFETCH(bool, trailingSeparator);
    Queue queue;
    fill(queue, {10});
    if (trailingSeparator)
        queue.job.folder += u'/';
    queue.job.size = QStringLiteral("100");

    QVERIFY(queue.job.run().outcome == RunOutcome::Done);

    verifyComplete(queue, 0, 1);
}

void SplitRunTest::failureStopsTheRunAtTheFailingEntry_data() {
    QTest::addColumn<bool>("removeFolder");
    QTest::addRow("output folder removed") << true;
    QTest::addRow("output folder not writable") << false;
}

void SplitRunTest::failureStopsTheRunAtTheFailingEntry() {
    QFETCH(bool, removeFolder);
    FaultyFileSystem disk;
    Queue queue;
    fill(queue, {250, 250, 250});
    queue.job.files = &disk;
    // The second file finds its output folder gone or closed to it.
    ProgressHooks progress;
    progress.onFileStarted = [&](qint64 index) {
        if (index != 1)
            return;
        if (removeFolder)
            QDir(queue.out.path()).removeRecursively();
        else
            disk.fail(FaultyFileSystem::Call::Create, EACCES);
    };
    const QString failingPath =
        QDir::toNativeSeparators(queue.out.filePath(QStringLiteral("b.bin.1")));
    queue.job.size = QStringLiteral("100");

    const SplitResult result = queue.job.run(progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(QDir::toNativeSeparators(result.failure->path()), failingPath);
    QVERIFY2(result.failure->code() == Failure::Code::System, result.failure->what());
    QCOMPARE(result.filesDone, 1);
    QCOMPARE(result.stoppedFile, 1);
    QVERIFY(!progress.events.contains(QStringLiteral("start 2")));
    if (QDir(queue.out.path()).exists()) {
        verifyComplete(queue, 0, 3);
        QCOMPARE(filesIn(queue.out.path()).size(), 6); // nothing of b.bin or c.bin
    }
}

void SplitRunTest::diskFillingUpStopsTheRunMidFile_data() {
    QTest::addColumn<QString>("size");
    QTest::addColumn<QByteArray>("filling");  // the name whose writes fill it up
    QTest::addColumn<int>("fromWrite");       // from its nth write on
    QTest::addColumn<QString>("failingName"); // empty: a piece from the second to the seventh
    QTest::addRow("a piece") << QStringLiteral("100000") << QByteArray() << 3 << QString();
    QTest::addRow("a piece written past the cache")
        << QStringLiteral("2000000") << QByteArray() << 1 << QStringLiteral("a.bin.1");
    // Written once the next pieces have been read.
    QTest::addRow("one of the pieces that share a buffer")
        << QStringLiteral("10001") << QByteArray() << 3 << QStringLiteral("a.bin.3");
    // Unnamed, as it is while it is written.
    QTest::addRow("the file that keeps many pieces' digests aside")
        << QStringLiteral("101") << QByteArrayLiteral(".") << 1 << QStringLiteral("a.bin.sha256");
}

void SplitRunTest::diskFillingUpStopsTheRunMidFile() {
    QFETCH(QString, size);
    QFETCH(QByteArray, filling);
    QFETCH(int, fromWrite);
    QFETCH(QString, failingName);
    FaultyFileSystem disk;
    Queue queue;
    fill(queue, {600'000, 100});
    queue.job.files = &disk;
    // Once the check has found room for everything, something else takes most of it.
    ProgressHooks progress;
    progress.onFileStarted = [&](qint64 index) {
        if (index == 0)
            disk.fail(FaultyFileSystem::Call::Write, ENOSPC, fromWrite, filling);
    };
    const qsizetype threadsBefore = threadCount();
    queue.job.size = size;

    const SplitResult result = queue.job.run(progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Failed);
    QVERIFY2(result.failure->systemError() == ENOSPC, result.failure->what());
    const QString prefix = QDir(queue.out.path()).filePath(QStringLiteral("a.bin."));
    if (failingName.isEmpty()) {
        QVERIFY2(result.failure->path().startsWith(prefix), qPrintable(result.failure->path()));
        const qint64 failedPiece = result.failure->path().mid(prefix.size()).toLongLong();
        QVERIFY(failedPiece > 1 && failedPiece <= 7);
    } else {
        QCOMPARE(result.failure->path(), queue.out.filePath(failingName));
        QVERIFY(!progress.events.contains(QStringLiteral("finishing 0"))); // while it was cut
    }
    // Nothing half-made is left of the file under way, nor anything of the next.
    QCOMPARE(filesIn(queue.out.path()), QStringList());
    QCOMPARE(threadCount(), threadsBefore);
}

void SplitRunTest::piecesFlushedOnTheWayLeaveFailuresToTheLastFlush_data() {
    QTest::addColumn<bool>("list"); // one thread then, else the pool's
    QTest::addRow("with the checksum list") << true;
    QTest::addRow("without it") << false;
}

void SplitRunTest::piecesFlushedOnTheWayLeaveFailuresToTheLastFlush() {
    QFETCH(bool, list);
    FaultyFileSystem disk;
    Queue queue;
    fill(queue, {25});
    queue.job.files = &disk;
    if (!list)
        queue.job.leftOut << OutputNames::Kind::Checksums;
    for (const QByteArray piece : {".1", ".2", ".3"})
        disk.fail(FaultyFileSystem::Call::Flush, EIO, 1, piece);

    QVERIFY(queue.job.run().outcome == RunOutcome::Done);
    verifyComplete(queue, 0, 3);
}

qsizetype SplitRunTest::threadCount() {
    return QDir(QStringLiteral("/proc/self/task"))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
        .size();
}

QTEST_GUILESS_MAIN(SplitRunTest)
#include "tst_splitrun.moc"
