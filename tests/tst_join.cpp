#include "FaultyFileSystem.h"
#include "OutputFolder.h"
#include "Splitting.h"
#include "TemporaryFile.h"
#include "TestFiles.h"
#include "join/JoinPlanner.h"
#include "join/JoinRun.h"
#include "messages/RunMessages.h"
#include "run/RunProgress.h"
#include "words/FailureText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>

#include <new>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Answers the join's questions from a list (No once it runs out) and records what it is told.
class AnsweringHost : public Questions {
public:
    QList<bool> answers;
    QStringList questions;
    QStringList restored;
    std::function<void()> onRun; // runs when the join has been checked, before it writes

    bool ask(const Question &question) override {
        questions << question.text;
        return !answers.isEmpty() && answers.takeFirst();
    }
};

// Checks and runs the join of chosen as the window does. Throws JoinDeclined when the user
// said No, Failure when it was refused or failed.
void join(AnsweringHost &host, const QString &chosen,
          const FileSystem &files = FileSystem::system()) {
    const JoinPlan plan = planJoin(chosen, testWork(host, files));
    if (host.onRun)
        host.onRun();
    ProgressSink progress;
    const RunResult result = JoinRun(plan, progress, StopRequest()).run();
    if (result.outcome != RunOutcome::Done)
        throw *result.failure;
    host.restored << plan.recipe.destination + QStringLiteral(" has been restored");
}

// Splits a file of the given name and length into folder with the engine.
QByteArray splitInto(const QString &folder, const QString &name, qint64 length,
                     const QString &size) {
    QTemporaryDir in;
    QByteArray bytes = patternBytes(length, 5);
    writeTestFile(in.filePath(name), bytes);
    splitOneFile(in.filePath(name), folder, size);
    return bytes;
}

// The names and bytes of every file in folder.
QMap<QString, QByteArray> contentsOf(const QString &folder) {
    QMap<QString, QByteArray> contents;
    for (const QString &name : filesIn(folder))
        contents.insert(name, readTestFile(QDir(folder).filePath(name)));
    return contents;
}

using Damage = std::function<void(const QString &folder)>;

void writeScript(const QString &folder, const QByteArray &script) {
    writeTestFile(QDir(folder).filePath(QStringLiteral("x.bat")), script);
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class JoinTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitThenJoinGivesTheSourceBack_data();
    void splitThenJoinGivesTheSourceBack();
    void refusedWritingNothing_data();
    void refusedWritingNothing();
    void pieceOfOddLengthAsksFirst_data();
    void pieceOfOddLengthAsksFirst();
    void existingFileIsReplacedOnlyOnYes_data();
    void existingFileIsReplacedOnlyOnYes();
    void diskFillingUpLeavesTheOldFileAndNoTemporaryFile_data();
    void diskFillingUpLeavesTheOldFileAndNoTemporaryFile();
    void ownFilesAreToldByTheirFolder_data();
    void ownFilesAreToldByTheirFolder();
    void fileInPlaceIsNeverToldAsNotWritten();
    void failingLastFlushIsNeverDone_data();
    void failingLastFlushIsNeverDone();
    void firstDamagedPieceEndsTheReading();
    void firstPieceStandsForTheScriptBesideIt();
    void fifoScriptIsRefusedWithoutWaiting_data();
    void fifoScriptIsRefusedWithoutWaiting();
    void failureOfAnyKindIsReported();
    void fileThatAppearsMeanwhileIsNotReplaced();
    void firstPieceWithoutAScriptAsksFirst_data();
    void firstPieceWithoutAScriptAsksFirst();
    void firstPieceWithAChecksumListNeedsNoQuestion_data();
    void firstPieceWithAChecksumListNeedsNoQuestion();
    void blankLinesAfterTheLastLineAreAccepted();
    void scriptLinesAreQuotedPrintably();
    void nothingIsLeftOfAJoinWhoseProcessDied_data();
    void nothingIsLeftOfAJoinWhoseProcessDied();
};

void JoinTest::splitThenJoinGivesTheSourceBack_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<bool>("fromFirstPiece"); // the script is gone; the user chose name.1
    QTest::addColumn<QString>("size");

    QTest::addRow("one piece") << QStringLiteral("report.doc") << qint64(9) << false
                               << QStringLiteral("10");
    QTest::addRow("three pieces") << QStringLiteral("report.doc") << qint64(25) << false
                                  << QStringLiteral("10");
    QTest::addRow("empty file") << QStringLiteral("empty.bin") << qint64(0) << false
                                << QStringLiteral("10");
    QTest::addRow("chained script, 1000 pieces")
        << QStringLiteral("a.bin") << qint64(9000) << false << QStringLiteral("10");
    QTest::addRow("blanks") << QStringLiteral("my file.txt") << qint64(30) << false
                            << QStringLiteral("10");
    QTest::addRow("percent, ampersand, caret, parenthesis")
        << QStringLiteral("100% & x^y (1).txt") << qint64(30) << false << QStringLiteral("10");
    QTest::addRow("non-ASCII name")
        << QStringLiteral("résumé €.txt") << qint64(30) << false << QStringLiteral("10");
    QTest::addRow("from the first piece")
        << QStringLiteral("report.doc") << qint64(25) << true << QStringLiteral("10");
    QTest::addRow("pieces larger than the buffer they are checked through, 3 MB at 1.4M")
        << QStringLiteral("video.mp4") << qint64(3'000'000) << false << QStringLiteral("1400000");
    QTest::addRow("from the first piece, 1000 pieces")
        << QStringLiteral("a.bin") << qint64(9000) << true << QStringLiteral("10");
}

void JoinTest::splitThenJoinGivesTheSourceBack() {
    QFETCH(QString, name);
    QFETCH(qint64, length);
    QFETCH(bool, fromFirstPiece);
    QFETCH(QString, size);
    QTemporaryDir out;
    const QByteArray source = splitInto(out.path(), name, length, size);
    const QString script = out.filePath(name + QStringLiteral(".bat"));
    if (fromFirstPiece) { // and all else that would tell how many pieces there are
        for (const char *suffix : {".bat", ".sh", ".sha256"})
            QFile::remove(out.filePath(name + QString::fromLatin1(suffix)));
    }
    const QStringList pieces = filesIn(out.path());
    AnsweringHost host;
    host.answers = {true}; // join without a script to say how many pieces there are

    join(host, fromFirstPiece ? out.filePath(name + QStringLiteral(".1")) : script);

    QCOMPARE(readTestFile(out.filePath(name)), source);
    QCOMPARE(host.restored, QStringList{name + QStringLiteral(" has been restored")});
    QCOMPARE(host.questions.size(), fromFirstPiece ? 1 : 0);
    QStringList expected = pieces + QStringList{name};
    expected.sort();
    QCOMPARE(filesIn(out.path()), expected); // and no temporary file
}

void JoinTest::refusedWritingNothing_data() {
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<Failure::Code>("code");
    QTest::addColumn<QString>("concerning"); // the file the failure names, or its script line
    QTest::addColumn<QString>("chosen");     // the file the user chooses
    QTest::addColumn<Damage>("afterCheck");  // done once the join is checked, before it runs

    using Code = Failure::Code;
    auto row = [](const char *name, Code code, const char *concerning, const Damage &damage,
                  const char *chosen = "x.bat", const Damage &afterCheck = Damage()) {
        QTest::newRow(name) << damage << code << QString::fromUtf8(concerning)
                            << QString::fromUtf8(chosen) << afterCheck;
    };
    auto script = [](const char *text) {
        return [text](const QString &folder) { writeScript(folder, text); };
    };
    row("a piece is missing", Code::PieceMissing, "x.2",
        [](const QString &folder) { QFile::remove(QDir(folder).filePath(QStringLiteral("x.2"))); });
    row(
        "a gap before the last piece, from the first piece", Code::MissingThoughLaterThere, "x.2",
        [](const QString &folder) {
            for (const char *name : {"x.bat", "x.sh", "x.2"})
                QFile::remove(QDir(folder).filePath(QString::fromLatin1(name)));
        },
        "x.1");
    row(
        "a later piece chosen", Code::ChosenLaterPiece, "x.2", [](const QString &) {}, "x.2");
    row("the script restores itself", Code::DestinationIsScript, "", [](const QString &folder) {
        QFile::copy(QDir(folder).filePath(QStringLiteral("x.1")),
                    QDir(folder).filePath(QStringLiteral("x.bat.1")));
        writeScript(folder, "copy /b \"x.bat.1\"  \"x.bat\"\r\necho x.bat has been restored\r\n");
    });
    row("a piece is a folder", Code::PieceNotAFile, "x.3", [](const QString &folder) {
        QFile::remove(QDir(folder).filePath(QStringLiteral("x.3")));
        QDir(folder).mkdir(QStringLiteral("x.3"));
    });
    row("the destination is a folder", Code::DestinationNotAFile, "x",
        [](const QString &folder) { QDir(folder).mkdir(QStringLiteral("x")); });
    row("the destination is one of the pieces", Code::DestinationIsPiece, "x",
        [](const QString &folder) {
            QVERIFY(
                ::link(QFile::encodeName(QDir(folder).filePath(QStringLiteral("x.1"))).constData(),
                       QFile::encodeName(QDir(folder).filePath(QStringLiteral("x"))).constData()) ==
                0);
        });
    // Scripts that Tessary could not have written: nothing of them is run.
    row("a command to delete", Code::ScriptLineNotCopy, "line 2",
        script("copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"x\"\r\ndel *.*\r\necho x has been "
               "restored\r\n"));
    row("a piece up a folder", Code::ScriptLineNotCopy, "line 1",
        script("copy /b \"..\\x.1\"  \"x\"\r\necho x has been restored\r\n"));
    row("an absolute path", Code::ScriptLineNotCopy, "line 1",
        script("copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"C:\\Windows\\x\"\r\necho x has been "
               "restored\r\n"));
    row("an extra command on the line", Code::ScriptLineNotCopy, "line 1",
        script("copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"x\" & del x.1\r\necho x has been "
               "restored\r\n"));
    row("a variable", Code::ScriptLineNotCopy, "line 1",
        script("copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"%TEMP%x\"\r\necho x has been restored\r\n"));
    row("pieces of another file", Code::ScriptNamesWrongPiece, "line 1",
        script("copy /b \"x.1\" + \"y.2\" + \"x.3\"  \"x\"\r\necho x has been restored\r\n"));
    row("a piece listed twice", Code::ScriptNamesWrongPiece, "line 1",
        script("copy /b \"x.1\" + \"x.2\" + \"x.2\"  \"x\"\r\necho x has been restored\r\n"));
    row("a destination the pieces do not share", Code::ScriptNamesWrongPiece, "line 1",
        script("copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"y\"\r\necho y has been restored\r\n"));
    row("another echo", Code::ScriptLineNotEcho, "line 2",
        script("copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"x\"\r\necho x & format c:\r\n"));
    row("a second line that does not go on", Code::ScriptLineGoesNotOn, "line 2",
        script("copy /b \"x.1\"  \"x\"\r\ncopy /b \"x.2\" + \"x.3\"  \"x\"\r\necho x has been "
               "restored\r\n"));
    row("a command after the last line", Code::ScriptLineAfterEcho, "line 3",
        script("copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"x\"\r\necho x has been restored\r\n"
               "del /q *.*\r\n"));
    row("a byte order mark, as Notepad saves it", Code::ScriptByteOrderMark, "line 1",
        script("\xef\xbb\xbf"
               "copy /b \"x.1\" + \"x.2\" + \"x.3\"  \"x\"\r\necho x has been restored\r\n"));
    row("not UTF-8 after the switch to it", Code::ScriptLineNotUtf8, "line 2",
        script(
            "@chcp 65001 >nul\r\ncopy /b \"x\xff.1\"  \"x\xff\"\r\necho x has been restored\r\n"));
    // Pieces are the pieces themselves: no link can make another file one, or one piece two.
    auto replacePiece = [](const QString &folder, const char *piece, const QString &with) {
        QFile::remove(QDir(folder).filePath(QString::fromLatin1(piece)));
        QVERIFY(QFile::link(with, QDir(folder).filePath(QString::fromLatin1(piece))));
    };
    row("the last piece is a link to another file", Code::PieceIsLink, "x.3",
        [=](const QString &folder) {
            writeTestFile(QDir(folder).filePath(QStringLiteral("secret")), "not a piece");
            replacePiece(folder, "x.3", QDir(folder).filePath(QStringLiteral("secret")));
        });
    row("a piece is a looping link", Code::PieceIsLink, "x.2", [=](const QString &folder) {
        replacePiece(folder, "x.2", QDir(folder).filePath(QStringLiteral("x.2")));
    });
    row("a piece is another name of another piece", Code::PieceSameAs, "x.2",
        [](const QString &folder) {
            QFile::remove(QDir(folder).filePath(QStringLiteral("x.2")));
            QVERIFY(
                ::link(
                    QFile::encodeName(QDir(folder).filePath(QStringLiteral("x.1"))).constData(),
                    QFile::encodeName(QDir(folder).filePath(QStringLiteral("x.2"))).constData()) ==
                0);
        });
    row("the script named among the pieces", Code::PieceIsTheScript, "x.3",
        [](const QString &folder) {
            QFile::remove(QDir(folder).filePath(QStringLiteral("x.3")));
            QVERIFY(::link(QFile::encodeName(QDir(folder).filePath(QStringLiteral("x.bat"))),
                           QFile::encodeName(QDir(folder).filePath(QStringLiteral("x.3")))) == 0);
        });
    row(
        "a piece replaced after the check", Code::ChangedAfterCheck, "x.2", [](const QString &) {},
        "x.bat",
        [](const QString &folder) {
            const QString piece = QDir(folder).filePath(QStringLiteral("x.2"));
            const QByteArray bytes = readTestFile(piece);
            QFile::remove(piece);
            writeTestFile(piece, bytes);
        });
    // F.BAT and f.bat are one name on Windows, FAT and exFAT, whatever this volume says.
    row(
        "the script restores itself under another case", Code::DestinationIsScript, "",
        [](const QString &folder) {
            QFile::copy(QDir(folder).filePath(QStringLiteral("x.1")),
                        QDir(folder).filePath(QStringLiteral("f.bat.1")));
            writeTestFile(QDir(folder).filePath(QStringLiteral("F.BAT")),
                          "copy /b \"f.bat.1\"  \"f.bat\"\r\necho f.bat has been restored\r\n");
        },
        "F.BAT");
}

void JoinTest::refusedWritingNothing() {
    QFETCH(Damage, damage);
    QFETCH(Failure::Code, code);
    QFETCH(QString, concerning);
    QFETCH(QString, chosen);
    QFETCH(Damage, afterCheck);
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    damage(out.path());
    AnsweringHost host;
    host.answers = {true, true};
    if (afterCheck)
        host.onRun = [&] { afterCheck(out.path()); };
    const QMap<QString, QByteArray> before = contentsOf(out.path());

    try {
        join(host, out.filePath(chosen));
        QFAIL("the join was not refused");
    } catch (const Failure &error) {
        QVERIFY2(error.code() == code, error.what());
        if (concerning.startsWith(QStringLiteral("line ")))
            QCOMPARE(QString::number(error.args().constFirst().number), concerning.mid(5));
        else if (!concerning.isEmpty())
            QCOMPARE(QFileInfo(error.path()).fileName(), concerning);
    }
    QCOMPARE(contentsOf(out.path()), before);
    QVERIFY(host.restored.isEmpty());
}

void JoinTest::pieceOfOddLengthAsksFirst_data() {
    QTest::addColumn<bool>("goOn");
    QTest::addColumn<QString>("piece"); // the one of odd length
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("the user stops") << false << QStringLiteral("x.2") << QByteArray("short");
    QTest::addRow("the user goes on") << true << QStringLiteral("x.2") << QByteArray("short");
    QTest::addRow("the last piece longer than the first")
        << false << QStringLiteral("x.3") << QByteArray("much longer than nine");
}

void JoinTest::pieceOfOddLengthAsksFirst() {
    QFETCH(bool, goOn);
    QFETCH(QString, piece);
    QFETCH(QByteArray, bytes);
    QTemporaryDir out;
    const QByteArray source = splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    // Without a checksum list, nor the script for macOS and Linux that holds one, which would
    // call the piece damaged whatever the answer.
    QFile::remove(out.filePath(QStringLiteral("x.sha256")));
    QFile::remove(out.filePath(QStringLiteral("x.sh")));
    writeTestFile(out.filePath(piece), bytes);
    AnsweringHost host;
    host.answers = {goOn};

    if (goOn) {
        join(host, out.filePath(QStringLiteral("x.bat")));
        QCOMPARE(readTestFile(out.filePath(QStringLiteral("x"))),
                 source.left(9) + bytes + source.mid(18));
    } else {
        QVERIFY_THROWS_EXCEPTION(Failure, join(host, out.filePath(QStringLiteral("x.bat"))));
        QVERIFY(!QFile::exists(out.filePath(QStringLiteral("x"))));
    }
    QCOMPARE(host.questions.size(), 1);
    QVERIFY2(host.questions.first().startsWith(
                 QDir::toNativeSeparators(out.filePath(piece)) +
                 QStringLiteral(" holds %1 bytes, but ").arg(bytes.size())),
             qPrintable(host.questions.first()));
}

void JoinTest::existingFileIsReplacedOnlyOnYes_data() {
    QTest::addColumn<bool>("replace");
    QTest::addRow("No keeps it") << false;
    QTest::addRow("Yes replaces it") << true;
}

void JoinTest::existingFileIsReplacedOnlyOnYes() {
    QFETCH(bool, replace);
    QTemporaryDir out;
    const QByteArray source = splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    writeTestFile(out.filePath(QStringLiteral("x")), "the user's own x");
    AnsweringHost host;
    host.answers = {replace};

    if (replace)
        join(host, out.filePath(QStringLiteral("x.bat")));
    else
        QVERIFY_THROWS_EXCEPTION(Failure, join(host, out.filePath(QStringLiteral("x.bat"))));

    QCOMPARE(host.questions.size(), 1);
    QVERIFY(host.questions.first().contains(QStringLiteral("exists already")));
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("x"))),
             replace ? source : QByteArray("the user's own x"));
    QCOMPARE(filesIn(out.path()).size(), 7); // three pieces, the scripts, the list and x
}

void JoinTest::diskFillingUpLeavesTheOldFileAndNoTemporaryFile_data() {
    QTest::addColumn<bool>("afterCheck"); // the room goes once the join has found it
    QTest::addColumn<Failure::Code>("code");
    QTest::addRow("no room when it is checked") << false << Failure::Code::JoinNeedsSpace;
    QTest::addRow("the disk fills up while it writes") << true << Failure::Code::System;
}

void JoinTest::diskFillingUpLeavesTheOldFileAndNoTemporaryFile() {
    QFETCH(bool, afterCheck);
    QFETCH(Failure::Code, code);
    FaultyFileSystem faults;
    QTemporaryDir disk;
    splitInto(disk.path(), QStringLiteral("x"), 300'000, QStringLiteral("100000"));
    writeTestFile(disk.filePath(QStringLiteral("x")), "old x");
    AnsweringHost host;
    host.answers = {true};
    if (afterCheck)
        host.onRun = [&] { faults.fail(FaultyFileSystem::Call::Write, ENOSPC); };
    else
        faults.reportRoom(100'000, 100);

    try {
        join(host, disk.filePath(QStringLiteral("x.bat")), faults);
        QFAIL("the join reported success on a full disk");
    } catch (const Failure &error) {
        QVERIFY2(error.code() == code, error.what());
        if (code == Failure::Code::System)
            QCOMPARE(error.systemError(), ENOSPC);
    }
    QCOMPARE(readTestFile(disk.filePath(QStringLiteral("x"))), QByteArray("old x"));
    QStringList left = filesIn(disk.path());
    QCOMPARE(left,
             (QStringList{QStringLiteral("x"), QStringLiteral("x.1"), QStringLiteral("x.2"),
                          QStringLiteral("x.3"), QStringLiteral("x.4"), QStringLiteral("x.bat"),
                          QStringLiteral("x.sh"), QStringLiteral("x.sha256")}));
}

void JoinTest::ownFilesAreToldByTheirFolder_data() {
    QTest::addColumn<bool>("readOnly"); // else full
    QTest::addColumn<Failure::Code>("code");
    QTest::addRow("a read-only medium") << true << Failure::Code::ReadOnlyFolder;
    QTest::addRow("a full disk") << false << Failure::Code::FolderIsFull;
}

void JoinTest::ownFilesAreToldByTheirFolder() {
    // The join's lock is the first file it makes: its name is none the user knows.
    QFETCH(bool, readOnly);
    QFETCH(Failure::Code, code);
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    FaultyFileSystem medium;
    if (readOnly)
        medium.takeNoChange();
    else
        medium.fail(FaultyFileSystem::Call::Create, ENOSPC);
    AnsweringHost host;

    try {
        join(host, out.filePath(QStringLiteral("x.bat")), medium);
        QFAIL("the join was not refused");
    } catch (const Failure &error) {
        QVERIFY2(error.code() == code, error.what());
        QCOMPARE(error.path(), QDir::toNativeSeparators(out.path()) + u'/');
    }
}

void JoinTest::fileInPlaceIsNeverToldAsNotWritten() {
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    AnsweringHost host;
    const JoinPlan plan = planJoin(out.filePath(QStringLiteral("x.bat")), testWork(host));
    // The folder's flush failed once the file had taken its name.
    JoinResult result;
    result.end(Failure::fromSystemError(out.path(), EIO));
    result.inPlace = true;

    const RunMessage message = RunMessages::join(plan, result);

    QVERIFY2(message.text.startsWith(QStringLiteral("x has been restored, but")),
             qPrintable(message.text));
    QVERIFY(!message.text.contains(QStringLiteral("nothing was written"), Qt::CaseInsensitive));
}

void JoinTest::failingLastFlushIsNeverDone_data() {
    QTest::addColumn<bool>("split"); // else the join of its pieces
    QTest::addColumn<bool>("fat");   // flushed file by file, as FAT through FUSE is
    QTest::addRow("a split's last flush") << true << false;
    QTest::addRow("a split's last flush, file by file") << true << true;
    QTest::addRow("a join's flush of its folder") << false << false;
    QTest::addRow("a join's flush of its folder, file by file") << false << true;
}

void JoinTest::failingLastFlushIsNeverDone() {
    QFETCH(bool, split);
    QFETCH(bool, fat);
    QTemporaryDir in;
    QTemporaryDir out;
    writeTestFile(in.filePath(QStringLiteral("x")), patternBytes(25, 3));
    FaultyFileSystem disk;
    if (fat)
        disk.actAsFat();
    ProgressHooks progress;
    // From the flush on: a join's second is its folder's, once the file is in place.
    progress.onFlush = [&] {
        disk.fail(FaultyFileSystem::Call::Flush, EIO, split ? 1 : 2);
        disk.fail(FaultyFileSystem::Call::FlushFileSystem, EIO);
    };
    SplitSetup setup;
    setup.add(in.filePath(QStringLiteral("x")));
    setup.folder = out.path();
    RunResult result;
    if (split) {
        setup.files = &disk;
        result = setup.run(progress, StopRequest());
    } else {
        setup.run();
        Yes yes;
        const JoinPlan plan = planJoin(out.filePath(QStringLiteral("x.bat")), testWork(yes, disk));
        result = JoinRun(plan, progress, StopRequest()).run();
    }

    QVERIFY(result.outcome == RunOutcome::Failed);
    QVERIFY2(result.failure->systemError() == EIO, result.failure->what());
}

void JoinTest::firstDamagedPieceEndsTheReading() {
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 24'000'000, QStringLiteral("1000000"));
    const QString first = out.filePath(QStringLiteral("x.1"));
    QByteArray bytes = readTestFile(first);
    bytes[500'000] = char(bytes[500'000] ^ 0x01);
    writeTestFile(first, bytes);
    ProgressHooks progress;
    Yes yes;

    const JoinResult result = joinFile(out.filePath(QStringLiteral("x.bat")), yes, progress);

    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(result.failure->path(), first);
    // The hashing runs a few buffers behind the reading, not 23 pieces.
    QVERIFY2(progress.bytes < 8'000'000, qPrintable(QString::number(progress.bytes)));
}

void JoinTest::firstPieceStandsForTheScriptBesideIt() {
    QTemporaryDir out;
    const QByteArray source = splitInto(out.path(), QStringLiteral("x"), 20, QStringLiteral("11"));
    // A third piece that the script does not name, as a longer split of another day left it;
    // no list, nor the script for macOS and Linux that holds one, which would refuse it,
    // stands beside them.
    writeTestFile(out.filePath(QStringLiteral("x.3")), "stale");
    QVERIFY(QFile::remove(out.filePath(QStringLiteral("x.sha256"))));
    QVERIFY(QFile::remove(out.filePath(QStringLiteral("x.sh"))));
    AnsweringHost host;

    join(host, out.filePath(QStringLiteral("x.1")));

    QCOMPARE(readTestFile(out.filePath(QStringLiteral("x"))), source);
    QVERIFY(host.questions.isEmpty());
}

void JoinTest::fifoScriptIsRefusedWithoutWaiting_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addRow("the script chosen") << QStringLiteral("x.bat");
    QTest::addRow("beside the first piece chosen") << QStringLiteral("x.1");
}

void JoinTest::fifoScriptIsRefusedWithoutWaiting() {
    QFETCH(QString, chosen);
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    QFile::remove(out.filePath(QStringLiteral("x.bat")));
    QVERIFY(::mkfifo(QFile::encodeName(out.filePath(QStringLiteral("x.bat"))).constData(), 0600) ==
            0);
    AnsweringHost host;

    try {
        join(host, out.filePath(chosen));
        QFAIL("the join was not refused");
    } catch (const Failure &error) {
        QCOMPARE(error.path(), out.filePath(QStringLiteral("x.bat")));
        QVERIFY2(error.code() == Failure::Code::NotRegularFileKind &&
                     error.args().constFirst().number == int(FileKind::Fifo),
                 error.what());
    }
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("x"))));
}

void JoinTest::failureOfAnyKindIsReported() {
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    AnsweringHost host;
    ProgressHooks progress;
    progress.onBytesCopied = [](qint64) { throw std::bad_alloc(); };

    const RunResult result = joinFile(out.filePath(QStringLiteral("x.bat")), host, progress);

    QVERIFY(result.outcome == RunOutcome::Failed);
    QVERIFY(result.failure->code() == Failure::Code::NoMemory);
    QCOMPARE(filesIn(out.path()).size(), 6); // the pieces, the scripts and the list, no temporary
}

void JoinTest::fileThatAppearsMeanwhileIsNotReplaced() {
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    AnsweringHost host;
    // Nothing stood at x when the join was checked; something does once it runs.
    host.onRun = [&] { writeTestFile(out.filePath(QStringLiteral("x")), "the user's new x"); };

    try {
        join(host, out.filePath(QStringLiteral("x.bat")));
        QFAIL("the join replaced a file nobody agreed to replace");
    } catch (const Failure &error) {
        QCOMPARE(error.path(), out.filePath(QStringLiteral("x")));
        QVERIFY2(error.code() == Failure::Code::AppearedMeanwhile, error.what());
    }
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("x"))), QByteArray("the user's new x"));
    QCOMPARE(filesIn(out.path()).size(), 7); // no temporary file
}

void JoinTest::firstPieceWithoutAScriptAsksFirst_data() {
    QTest::addColumn<bool>("join");
    QTest::addRow("No keeps everything as it was") << false;
    QTest::addRow("Yes joins what is there") << true;
}

void JoinTest::firstPieceWithoutAScriptAsksFirst() {
    QFETCH(bool, join);
    QTemporaryDir out;
    // A split that failed at its fourth piece: three pieces and no script.
    const QByteArray source =
        splitInto(out.path(), QStringLiteral("report.doc"), 3'900'000, QStringLiteral("1000001"));
    QFile::remove(out.filePath(QStringLiteral("report.doc.bat")));
    QFile::remove(out.filePath(QStringLiteral("report.doc.sha256")));
    QFile::remove(out.filePath(QStringLiteral("report.doc.sh")));
    QFile::remove(out.filePath(QStringLiteral("report.doc.4")));
    AnsweringHost host;
    host.answers = {join};

    if (join)
        ::join(host, out.filePath(QStringLiteral("report.doc.1")));
    else
        QVERIFY_THROWS_EXCEPTION(Failure,
                                 ::join(host, out.filePath(QStringLiteral("report.doc.1"))));

    QCOMPARE(host.questions,
             QStringList{QStringLiteral(
                 "No restore script stands beside report.doc.1, so Tessary cannot tell whether "
                 "all pieces are here. It found 3 pieces (3.0 MB). Join them into report.doc?")});
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("report.doc"))),
             join ? source.left(3'000'000) : QByteArray());
}

void JoinTest::firstPieceWithAChecksumListNeedsNoQuestion_data() {
    QTest::addColumn<QString>("lost"); // the piece that is gone too, or none
    QTest::addRow("every piece there") << QString();
    QTest::addRow("the last piece lost") << QStringLiteral("x.3");
}

void JoinTest::firstPieceWithAChecksumListNeedsNoQuestion() {
    QFETCH(QString, lost);
    QTemporaryDir out;
    const QByteArray source = splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    // The script is lost, but the list tells how many pieces there are.
    QFile::remove(out.filePath(QStringLiteral("x.bat")));
    if (!lost.isEmpty())
        QFile::remove(out.filePath(lost));
    AnsweringHost host;

    if (lost.isEmpty()) {
        join(host, out.filePath(QStringLiteral("x.1")));
        QCOMPARE(readTestFile(out.filePath(QStringLiteral("x"))), source);
    } else {
        try {
            join(host, out.filePath(QStringLiteral("x.1")));
            QFAIL("the join was not refused");
        } catch (const Failure &error) {
            QCOMPARE(error.path(), out.filePath(lost));
            QVERIFY(error.code() == Failure::Code::PieceMissing);
        }
    }
    QVERIFY(host.questions.isEmpty());
}

void JoinTest::blankLinesAfterTheLastLineAreAccepted() {
    QTemporaryDir out;
    const QByteArray source = splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    writeScript(out.path(), readTestFile(out.filePath(QStringLiteral("x.bat"))) + "\r\n \r\n\n");
    AnsweringHost host;

    join(host, out.filePath(QStringLiteral("x.bat")));

    QCOMPARE(readTestFile(out.filePath(QStringLiteral("x"))), source);
}

void JoinTest::scriptLinesAreQuotedPrintably() {
    QTemporaryDir out;
    splitInto(out.path(), QStringLiteral("x"), 25, QStringLiteral("10"));
    writeScript(out.path(),
                QByteArray("copy /b \"x.1\"  \"x\"\r\necho \x1b[2J owned\0 here\r\n", 42));
    AnsweringHost host;

    try {
        join(host, out.filePath(QStringLiteral("x.bat")));
        QFAIL("the join was not refused");
    } catch (const Failure &error) {
        const QString told = failureReason(error);
        QVERIFY2(told.endsWith(QStringLiteral("echo U+001B[2J ownedU+0000 here")), error.what());
        QVERIFY(!told.contains(QChar(0x1b)) && !told.contains(QChar(0)));
    }
}

void JoinTest::nothingIsLeftOfAJoinWhoseProcessDied_data() {
    QTest::addColumn<bool>("onFat");
    // Its file has no name until it is in place.
    QTest::addRow("a volume with unnamed files") << false;
    // Its hidden file is removed by the next join of that file.
    QTest::addRow("a FAT volume") << true;
}

void JoinTest::nothingIsLeftOfAJoinWhoseProcessDied() {
    QFETCH(bool, onFat);
    QTemporaryDir stick;
    FaultyFileSystem volume;
    if (onFat)
        volume.actAsFat();
    const QString folder = stick.path();
    const QByteArray source = splitInto(folder, QStringLiteral("x"), 25, QStringLiteral("10"));
    const QStringList split = filesIn(folder);
    // A join killed while it writes: the process ends without unwinding anything.
    const pid_t child = ::fork();
    if (child == 0) {
        const OutputFolder out(folder, volume);
        TemporaryFile joined(out, "x");
        joined.write("half of x");
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    const QStringList left = filesIn(folder);
    QCOMPARE(left.size(), split.size() + (onFat ? 1 : 0));
    // Swept once no live run could own it.
    for (const QString &name : left)
        ageTwoDays(QDir(folder).filePath(name));
    AnsweringHost host;

    join(host, QDir(folder).filePath(QStringLiteral("x.bat")));

    QStringList expected = split + QStringList{QStringLiteral("x")};
    expected.sort();
    QCOMPARE(filesIn(folder), expected);
    QCOMPARE(readTestFile(QDir(folder).filePath(QStringLiteral("x"))), source);
}

QTEST_GUILESS_MAIN(JoinTest)
#include "tst_join.moc"
