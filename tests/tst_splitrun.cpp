#include "FileError.h"
#include "Module1.h"
#include "RecordingHost.h"
#include "ScriptReplay.h"
#include "SplitRun.h"
#include "TestFiles.h"
#include "TmpfsMount.h"
#include "WaitWindowSlot.h"
#include "WorkerPool.h"
#include "frmWait.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class SplitRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Module1::splitState = {}; }
    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void queueIsSplitInOrderWithOneClosingMessage();
    void outputFolderWithOrWithoutSeparator_data();
    void outputFolderWithOrWithoutSeparator();
    void stateIsKeptAfterTheRun();
    void failureStopsTheRunAtTheFailingEntry_data();
    void failureStopsTheRunAtTheFailingEntry();
    void diskFillingUpStopsTheRunMidFile();
    void waitWindowIsUpDuringTheRunOnly();
    void waitWindowLayout();

private:
    struct Queue {
        QTemporaryDir in;
        QTemporaryDir out;
        RecordingHost host;
        QList<QByteArray> sources;
    };
    // Queues files of the given lengths, named a.bin, b.bin, ...
    static void fill(Queue &queue, const QList<qint64> &lengths);
    static void verifyComplete(const Queue &queue, int index, int pieces);
    static qsizetype threadCount();
};

void SplitRunTest::fill(Queue &queue, const QList<qint64> &lengths) {
    queue.host.folder = queue.out.path();
    for (qsizetype i = 0; i < lengths.size(); ++i) {
        const QString path = queue.in.filePath(QChar(char16_t(u'a' + i)) + QStringLiteral(".bin"));
        queue.sources << patternBytes(lengths[i], quint32(i + 1));
        writeTestFile(path, queue.sources.last());
        queue.host.add(path);
    }
}

void SplitRunTest::verifyComplete(const Queue &queue, int index, int pieces) {
    const QString name = queue.host.queue.at(index).name;
    for (int piece = 1; piece <= pieces; ++piece)
        QVERIFY(QFile::exists(queue.out.filePath(name + u'.' + QString::number(piece))));
    QVERIFY(!QFile::exists(queue.out.filePath(name + u'.' + QString::number(pieces + 1))));
    const ScriptReplay replay = replayScript(queue.out.path(), name + QStringLiteral(".bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QVERIFY(replay.joined.value(name) == queue.sources.at(index));
}

void SplitRunTest::queueIsSplitInOrderWithOneClosingMessage() {
    Queue queue;
    fill(queue, {250, 0, 99});
    Module1::splitState.pieceSize = QStringLiteral("100");

    SplitRun(queue.host).SplitAllFiles();

    verifyComplete(queue, 0, 3);
    verifyComplete(queue, 1, 1);
    verifyComplete(queue, 2, 1);
    // The whole queue and the folder are checked before the wait window comes up.
    const QStringList expected{QStringLiteral("count"),
                               QStringLiteral("path 0"),
                               QStringLiteral("name 0"),
                               QStringLiteral("path 1"),
                               QStringLiteral("name 1"),
                               QStringLiteral("path 2"),
                               QStringLiteral("name 2"),
                               QStringLiteral("folder"),
                               QStringLiteral("show wait"),
                               QStringLiteral("count"),
                               QStringLiteral("path 0"),
                               QStringLiteral("folder"),
                               QStringLiteral("name 0"),
                               QStringLiteral("path 1"),
                               QStringLiteral("folder"),
                               QStringLiteral("name 1"),
                               QStringLiteral("path 2"),
                               QStringLiteral("folder"),
                               QStringLiteral("name 2"),
                               QStringLiteral("unload wait"),
                               QStringLiteral("message I am done splitting all of the files")};
    QCOMPARE(queue.host.calls, expected);

    // The same queue again writes the same files again.
    queue.host.calls.clear();
    SplitRun(queue.host).SplitAllFiles();
    verifyComplete(queue, 0, 3);
    QCOMPARE(filesIn(queue.out.path()).size(), 8);
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
        queue.host.folder += u'/';
    Module1::splitState.pieceSize = QStringLiteral("100");

    SplitRun(queue.host).SplitAllFiles();

    const QString expectedDir = QDir::toNativeSeparators(queue.out.path()) + QDir::separator();
    QCOMPARE(Module1::splitState.outputDir, expectedDir);
    QCOMPARE(Module1::splitState.piecePath, expectedDir + QStringLiteral("a.bin.1"));
    verifyComplete(queue, 0, 1);
}

void SplitRunTest::stateIsKeptAfterTheRun() {
    Queue queue;
    fill(queue, {5, 7});
    Module1::splitState.pieceSize = QStringLiteral("3");
    Module1::splitState.selectedPath = QStringLiteral("kept");

    SplitRun(queue.host).SplitAllFiles();

    const SplitState &s = Module1::splitState;
    const QString dir = QDir::toNativeSeparators(queue.out.path()) + QDir::separator();
    QCOMPARE(s.fileCount, 2);
    QCOMPARE(s.sourcePath, queue.host.queue.at(1).path);
    QCOMPARE(s.fileName, QStringLiteral("b.bin"));
    QCOMPARE(s.outputDir, dir);
    QCOMPARE(s.pieceNumber, 4);
    QCOMPARE(s.pieceByteCount, 1);
    QCOMPARE(s.piecePath, dir + QStringLiteral("b.bin.4"));
    QCOMPARE(s.batchPath, dir + QStringLiteral("b.bin.bat"));
    QCOMPARE(s.restoreCommand, QStringLiteral("copy /b \"b.bin.1\" + \"b.bin.2\" + \"b.bin.3\" + "
                                              "\"b.bin.4\"  \"b.bin\""));
    QVERIFY(std::get<double>(s.pieceSize) == 3.0);
    QCOMPARE(s.selectedPath, QStringLiteral("kept"));
}

void SplitRunTest::failureStopsTheRunAtTheFailingEntry_data() {
    QTest::addColumn<bool>("removeFolder");
    QTest::addRow("output folder removed") << true;
    QTest::addRow("output folder not writable") << false;
}

void SplitRunTest::failureStopsTheRunAtTheFailingEntry() {
    QFETCH(bool, removeFolder);
    if (!removeFolder && ::geteuid() == 0)
        QSKIP("root writes into read-only folders");
    Queue queue;
    fill(queue, {250, 250, 250});
    // The second file finds its output folder gone or closed: the folder is asked for once by
    // the check and then once per file.
    int folderQueries = 0;
    queue.host.onOutputFolder = [&] {
        if (++folderQueries != 3)
            return;
        if (removeFolder)
            QDir(queue.out.path()).removeRecursively();
        else
            QFile::setPermissions(queue.out.path(), QFile::ReadOwner | QFile::ExeOwner);
    };
    const QString failingPath =
        QDir::toNativeSeparators(queue.out.filePath(QStringLiteral("b.bin.1")));
    Module1::splitState.pieceSize = QStringLiteral("100");

    try {
        SplitRun(queue.host).SplitAllFiles();
        QFAIL("the run reported success");
    } catch (const FileError &error) {
        QCOMPARE(QDir::toNativeSeparators(error.path()), failingPath);
        QVERIFY(!error.reason().isEmpty());
    }
    QFile::setPermissions(queue.out.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(queue.host.calls.mid(queue.host.calls.size() - 1), {QStringLiteral("unload wait")});
    QCOMPARE(queue.host.calls.count(QStringLiteral("path 2")), 1); // by the check only
    if (QDir(queue.out.path()).exists()) {
        verifyComplete(queue, 0, 3);
        QCOMPARE(filesIn(queue.out.path()).size(), 4); // nothing of b.bin or c.bin
    }
}

void SplitRunTest::diskFillingUpStopsTheRunMidFile() {
    TmpfsMount disk(QStringLiteral("1m"));
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    Queue queue;
    fill(queue, {600'000, 100});
    queue.host.folder = disk.path();
    // Once the check has found room for everything, something else takes most of it.
    int folderQueries = 0;
    queue.host.onOutputFolder = [&] {
        if (++folderQueries == 2)
            writeTestFile(disk.filePath(QStringLiteral("filler")), QByteArray(720'000, 'f'));
    };
    const qsizetype threadsBefore = threadCount();
    Module1::splitState.pieceSize = QStringLiteral("100000");

    qint64 failedPiece = 0;
    try {
        SplitRun(queue.host).SplitAllFiles();
        QFAIL("the run reported success on a full disk");
    } catch (const FileError &error) {
        const QString prefix = QDir(disk.path()).filePath(QStringLiteral("a.bin."));
        QVERIFY2(error.path().startsWith(prefix), qPrintable(error.path()));
        failedPiece = error.path().mid(prefix.size()).toLongLong();
        QVERIFY2(error.reason().contains(QStringLiteral("space"), Qt::CaseInsensitive),
                 qPrintable(error.reason()));
    }
    // Every piece before the one reported is whole; none is started past those under way.
    QVERIFY(failedPiece > 1 && failedPiece <= 7);
    for (qint64 piece = 1; piece < failedPiece; ++piece)
        QCOMPARE(readTestFile(disk.filePath(QStringLiteral("a.bin.%1").arg(piece))),
                 queue.sources.at(0).mid((piece - 1) * 99'999, 99'999));
    const QStringList left = filesIn(disk.path());
    QVERIFY(!left.contains(QStringLiteral("a.bin.bat")));
    QVERIFY(!left.contains(QStringLiteral("b.bin.1")));
    // Another thread may have started one more piece before the failure was known, no more.
    QVERIFY(!left.contains(
        QStringLiteral("a.bin.%1").arg(failedPiece + WorkerPool::defaultSize() + 1)));
    QCOMPARE(threadCount(), threadsBefore);
}

qsizetype SplitRunTest::threadCount() {
    return QDir(QStringLiteral("/proc/self/task"))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
        .size();
}

void SplitRunTest::waitWindowIsUpDuringTheRunOnly() {
    Queue queue;
    // Enough small pieces that the copying threads are still at work when the run first waits.
    fill(queue, {2'000'000, 30});
    WaitWindowSlot slot;
    queue.host.waitWindowSlot = &slot;
    int repaintsWhileShown = 0;
    queue.host.onRepaint = [&] {
        const frmWait *window = slot.window();
        if (window && window->isVisible() &&
            window->findChild<QLabel *>(QStringLiteral("Label1"))->isVisible())
            ++repaintsWhileShown;
    };
    Module1::splitState.pieceSize = QStringLiteral("1000");

    // Repainting whenever the run waits, rather than every 100 ms, makes each wait visible.
    SplitRun(queue.host, {std::chrono::milliseconds(0)}).SplitAllFiles();

    QVERIFY(queue.host.repaints > 0);
    QCOMPARE(repaintsWhileShown, queue.host.repaints);
    QCOMPARE(slot.window(), nullptr);
    QCOMPARE(queue.host.calls.last(),
             QStringLiteral("message I am done splitting all of the files"));
    verifyComplete(queue, 0, 2003);
}

void SplitRunTest::waitWindowLayout() {
    frmWait window;
    const auto *label = window.findChild<QLabel *>(QStringLiteral("Label1"));
    QVERIFY(label);
    const double pixelsPerTwip = window.screen()->logicalDotsPerInch() / 1440.0;
    auto px = [&](int twips) { return qRound(twips * pixelsPerTwip); };

    QCOMPARE(window.windowTitle(), QStringLiteral("Please wait splitting files"));
    QCOMPARE(window.size(), QSize(px(4680), px(3090)));
    QCOMPARE(label->text(), QStringLiteral("Splitting Files Please Wait"));
    QCOMPARE(label->geometry(), QRect(px(720), px(1080), px(3255), px(495)));
    QCOMPARE(label->font().family(), QStringLiteral("Times New Roman"));
    QVERIFY(label->font().bold());
    // As large as asked for, unless the fonts at hand need less to show every word.
    QVERIFY(label->font().pointSizeF() <= 14.25);
    QVERIFY(label->font().pointSizeF() >= 10);
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
             qPrintable(QFontInfo(label->font()).family()));
}

QTEST_MAIN(SplitRunTest)
#include "tst_splitrun.moc"
