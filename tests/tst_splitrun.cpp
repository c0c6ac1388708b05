#include "FileError.h"
#include "Module1.h"
#include "RecordingHost.h"
#include "ScriptReplay.h"
#include "SplitRun.h"
#include "TestFiles.h"
#include "WaitWindowSlot.h"
#include "frmWait.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
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
    void fullDiskIsAFileError();
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
    const QStringList expected{QStringLiteral("show wait"),
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
    QTest::addColumn<QString>("failure");
    QTest::addRow("missing source") << QStringLiteral("missing source");
    QTest::addRow("source is a folder") << QStringLiteral("folder source");
    QTest::addRow("output folder removed") << QStringLiteral("missing output");
    QTest::addRow("output folder not writable") << QStringLiteral("read-only output");
}

void SplitRunTest::failureStopsTheRunAtTheFailingEntry() {
    QFETCH(QString, failure);
    Queue queue;
    fill(queue, {250, 250, 250});
    QString failingPath = queue.host.queue.at(1).path;
    if (failure == QStringLiteral("missing source")) {
        QFile::remove(failingPath);
    } else if (failure == QStringLiteral("folder source")) {
        QFile::remove(failingPath);
        QDir().mkpath(failingPath);
    } else {
        // The second file finds its output folder gone or closed.
        const bool remove = failure == QStringLiteral("missing output");
        if (!remove && ::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        int folderQueries = 0;
        queue.host.onOutputFolder = [&] {
            if (++folderQueries == 2) {
                if (remove)
                    QDir(queue.out.path()).removeRecursively();
                else
                    QFile::setPermissions(queue.out.path(), QFile::ReadOwner | QFile::ExeOwner);
            }
        };
        failingPath = QDir::toNativeSeparators(queue.out.filePath(QStringLiteral("b.bin.1")));
    }
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
    QVERIFY(!queue.host.calls.contains(QStringLiteral("path 2")));
    if (QDir(queue.out.path()).exists()) {
        verifyComplete(queue, 0, 3);
        QCOMPARE(filesIn(queue.out.path()).size(), 4); // nothing of b.bin or c.bin
    }
}

void SplitRunTest::fullDiskIsAFileError() {
    if (::geteuid() != 0)
        QSKIP("mounting a small file system needs root");
    QTemporaryDir mountPoint;
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=64k"), QStringLiteral("tmpfs"), mountPoint.path()});
    if (!mount.waitForFinished() || mount.exitCode() != 0)
        QSKIP("this machine does not let the test mount a tmpfs");
    const auto unmount =
        qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {mountPoint.path()}); });
    Queue queue;
    fill(queue, {40'000, 200'000, 100});
    queue.host.folder = mountPoint.path();
    Module1::splitState.pieceSize = QStringLiteral("1000000");

    try {
        SplitRun(queue.host).SplitAllFiles();
        QFAIL("the run reported success on a full disk");
    } catch (const FileError &error) {
        QCOMPARE(error.path(), QDir(mountPoint.path()).filePath(QStringLiteral("b.bin.1")));
        QVERIFY2(error.reason().contains(QStringLiteral("space"), Qt::CaseInsensitive),
                 qPrintable(error.reason()));
    }
    QCOMPARE(readTestFile(QDir(mountPoint.path()).filePath(QStringLiteral("a.bin.1"))),
             queue.sources.at(0));
    QVERIFY(QFile::exists(QDir(mountPoint.path()).filePath(QStringLiteral("a.bin.bat"))));
    QVERIFY(!QFile::exists(QDir(mountPoint.path()).filePath(QStringLiteral("b.bin.bat"))));
    QVERIFY(!QFile::exists(QDir(mountPoint.path()).filePath(QStringLiteral("c.bin.1"))));
}

void SplitRunTest::waitWindowIsUpDuringTheRunOnly() {
    Queue queue;
    fill(queue, {250, 30});
    WaitWindowSlot slot;
    queue.host.waitWindow = &slot;
    int repaintsWhileShown = 0;
    queue.host.onRepaint = [&] {
        const frmWait *window = slot.window();
        if (window && window->isVisible() &&
            window->findChild<QLabel *>(QStringLiteral("Label1"))->isVisible())
            ++repaintsWhileShown;
    };
    Module1::splitState.pieceSize = QStringLiteral("100");

    // Repainting after every step of work, rather than every 100 ms, makes each step visible.
    SplitRun(queue.host, std::chrono::milliseconds(0)).SplitAllFiles();

    QCOMPARE(repaintsWhileShown, 4); // one per piece: three of a.bin, one of b.bin
    QCOMPARE(queue.host.repaints, 4);
    QCOMPARE(slot.window(), nullptr);
    QCOMPARE(queue.host.calls.last(),
             QStringLiteral("message I am done splitting all of the files"));
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
    QCOMPARE(label->font().pointSizeF(), 14.25);
    QVERIFY(label->font().bold());
    QCOMPARE(label->font().family(), QStringLiteral("Times New Roman"));
}

QTEST_MAIN(SplitRunTest)
#include "tst_splitrun.moc"
