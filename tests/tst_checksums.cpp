#include "FileError.h"
#include "JoinPlan.h"
#include "JoinRun.h"
#include "RunMessages.h"
#include "RunProgress.h"
#include "SplitPlan.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "Verify.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// Every split can prove its pieces: the list beside them is what sha256sum reads, and every
// join and check holds the pieces to it.
class ChecksumsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sha256sumAcceptsTheList();
    void listIsWhatTheSplitWrote();
    void damagedPieceRefusesTheJoin_data();
    void damagedPieceRefusesTheJoin();
    void handEditedLists_data();
    void handEditedLists();
    void splitWithoutTheListWritesNone();
    void verifyListsEveryPiece();
    void verifyFromTheFirstPieceListsAGap();
    void verifyNamesPiecesPastTheList();
    void firstPieceTakesItsCountOnlyFromAWholeList();
};

namespace {

struct Yes : JoinQuestions {
    bool askYesNo(const QString &) override { return true; }
};

// Splits a file called report.doc of length bytes into folder, in pieces of 10 bytes.
QByteArray splitReport(const QString &folder, qint64 length = 25, bool checksums = true) {
    QTemporaryDir in;
    QByteArray bytes = patternBytes(length, 11);
    writeTestFile(in.filePath(QStringLiteral("report.doc")), bytes);
    SplitJob job;
    job.add(in.filePath(QStringLiteral("report.doc")));
    job.folder = folder;
    job.size = QStringLiteral("11");
    SplitRequest request = job.request();
    request.writeChecksums = checksums;
    const SplitPlan plan = planSplit(request);
    ProgressSink progress;
    SplitRun(plan, progress, StopRequest()).run();
    return bytes;
}

JoinResult joinReport(const QString &folder) {
    Yes yes;
    const JoinPlan plan = planJoin(QDir(folder).filePath(QStringLiteral("report.doc.bat")), yes);
    ProgressSink progress;
    return JoinRun(plan, progress, StopRequest()).run();
}

// Runs sha256sum -c in folder; its exit code, or -1 when it is not there.
int sha256sumCheck(const QString &folder, const QStringList &options) {
    if (QStandardPaths::findExecutable(QStringLiteral("sha256sum")).isEmpty())
        return -1;
    QProcess check;
    check.setWorkingDirectory(folder);
    check.start(QStringLiteral("sha256sum"), QStringList{QStringLiteral("-c")} + options +
                                                 QStringList{QStringLiteral("report.doc.sha256")});
    check.waitForFinished();
    return check.exitCode();
}

} // namespace

void ChecksumsTest::sha256sumAcceptsTheList() {
    QTemporaryDir out;
    splitReport(out.path());
    const int before = sha256sumCheck(out.path(), {QStringLiteral("--ignore-missing")});
    if (before < 0)
        QSKIP("needs sha256sum");
    QCOMPARE(before, 0);
    // The whole file is not there yet: without --ignore-missing, only that line fails.
    QCOMPARE(sha256sumCheck(out.path(), {}), 1);

    QVERIFY(joinReport(out.path()).outcome == RunOutcome::Done);

    QCOMPARE(sha256sumCheck(out.path(), {}), 0);
}

void ChecksumsTest::listIsWhatTheSplitWrote() {
    QTemporaryDir out;
    const QByteArray bytes = splitReport(out.path());

    const QByteArray list = readTestFile(out.filePath(QStringLiteral("report.doc.sha256")));

    auto line = [](const QByteArray &data, const char *name) {
        return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex() + "  " + name +
               '\n';
    };
    QCOMPARE(list, line(bytes, "report.doc") + line(bytes.left(10), "report.doc.1") +
                       line(bytes.mid(10, 10), "report.doc.2") +
                       line(bytes.mid(20), "report.doc.3"));
}

void ChecksumsTest::damagedPieceRefusesTheJoin_data() {
    QTest::addColumn<QString>("piece");
    QTest::addRow("the first piece") << QStringLiteral("report.doc.1");
    QTest::addRow("a middle piece") << QStringLiteral("report.doc.2");
    QTest::addRow("the last piece") << QStringLiteral("report.doc.3");
}

void ChecksumsTest::damagedPieceRefusesTheJoin() {
    QFETCH(QString, piece);
    QTemporaryDir out;
    splitReport(out.path());
    QByteArray bytes = readTestFile(out.filePath(piece));
    bytes[2] = char(bytes[2] ^ 0x01); // one bit on its way to another machine
    writeTestFile(out.filePath(piece), bytes);
    const QStringList before = filesIn(out.path());

    const JoinResult result = joinReport(out.path());

    QVERIFY(result.outcome == RunOutcome::Failed && result.damaged);
    QCOMPARE(result.failedPath, out.filePath(piece));
    Yes yes;
    const JoinPlan plan = planJoin(out.filePath(QStringLiteral("report.doc.bat")), yes);
    QCOMPARE(RunMessages::join(plan, result).text,
             piece + QStringLiteral(" is damaged: its SHA-256 does not match report.doc.sha256. "
                                    "Nothing was written."));
    QCOMPARE(filesIn(out.path()), before); // no joined file, no temporary file
}

using Edit = std::function<QByteArray(const QByteArray &list)>;
Q_DECLARE_METATYPE(Edit)

void ChecksumsTest::handEditedLists_data() {
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("refusal"); // empty: joined, checked as ever
    QTest::addRow("CR LF line ends")
        << Edit([](const QByteArray &list) { return QByteArray(list).replace("\n", "\r\n"); })
        << QString();
    QTest::addRow("a byte order mark")
        << Edit([](const QByteArray &list) { return "\xef\xbb\xbf" + list; }) << QString();
    QTest::addRow("upper-case digits and a binary mark") << Edit([](const QByteArray &list) {
        QList<QByteArray> lines = list.split('\n');
        lines[1] = lines[1].left(64).toUpper() + " *" + lines[1].mid(66);
        return lines.join('\n');
    }) << QString();
    QTest::addRow("a piece without its line") << Edit([](const QByteArray &list) {
        QList<QByteArray> lines = list.split('\n');
        lines.removeAt(2);
        return lines.join('\n');
    }) << QStringLiteral("it has no line for report.doc.2, so that piece cannot be checked");
    QTest::addRow("a line for a piece the script does not name")
        << Edit([](const QByteArray &list) {
               return list + QByteArray(64, 'a') + "  report.doc.4\n";
           })
        << QStringLiteral("line 5 names report.doc.4, which is neither report.doc nor one of "
                          "its 3 pieces");
    QTest::addRow("a line that names another file") << Edit([](const QByteArray &list) {
        return list + QByteArray(64, 'a') + "  ../../etc/passwd\n";
    }) << QStringLiteral("line 5 names ../../etc/passwd");
    QTest::addRow("a line that is no digest")
        << Edit([](const QByteArray &list) { return "rm -rf *\x1b[2J\n" + list; })
        << QStringLiteral("line 1 is not a SHA-256 digest and a name, so the pieces were not "
                          "checked against it: rm -rf *U+001B[2J");
    QTest::addRow("a piece named twice")
        << Edit([](const QByteArray &list) { return list + list.split('\n')[1] + '\n'; })
        << QStringLiteral("line 5 names report.doc.1 a second time");
}

void ChecksumsTest::handEditedLists() {
    QFETCH(Edit, edit);
    QFETCH(QString, refusal);
    QTemporaryDir out;
    const QByteArray bytes = splitReport(out.path());
    const QString list = out.filePath(QStringLiteral("report.doc.sha256"));
    writeTestFile(list, edit(readTestFile(list)));

    if (refusal.isEmpty()) {
        QVERIFY(joinReport(out.path()).outcome == RunOutcome::Done);
        QCOMPARE(readTestFile(out.filePath(QStringLiteral("report.doc"))), bytes);
        return;
    }
    try {
        joinReport(out.path());
        QFAIL("the list was taken");
    } catch (const FileError &error) {
        QCOMPARE(error.path(), list);
        QVERIFY2(error.reason().startsWith(refusal), error.what());
    }
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("report.doc"))));
}

void ChecksumsTest::splitWithoutTheListWritesNone() {
    QTemporaryDir out;
    // A list of an earlier split would no longer describe the pieces: it goes too.
    writeTestFile(out.filePath(QStringLiteral("report.doc.sha256")), "an earlier list");

    splitReport(out.path(), 25, /*checksums=*/false);

    QCOMPARE(filesIn(out.path()),
             (QStringList{QStringLiteral("report.doc.1"), QStringLiteral("report.doc.2"),
                          QStringLiteral("report.doc.3"), QStringLiteral("report.doc.bat")}));
}

void ChecksumsTest::verifyListsEveryPiece() {
    QTemporaryDir out;
    splitReport(out.path(), 150); // 15 pieces: more lines than the box shows
    writeTestFile(out.filePath(QStringLiteral("report.doc.2")), "damaged");
    QFile::remove(out.filePath(QStringLiteral("report.doc.3")));
    const QStringList before = filesIn(out.path());

    const VerifyPlan plan = planVerify(out.filePath(QStringLiteral("report.doc.sha256")));
    ProgressSink progress;
    const VerifyResult result = runVerify(plan, progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Done && !result.allMatch());
    const RunMessage message = RunMessages::verify(plan, result);
    QVERIFY2(message.text.startsWith(QStringLiteral(
                 "13 of the 15 pieces in report.doc.sha256 match.\n\n\u2022 report.doc.1: "
                 "matches\n\u2022 report.doc.2: damaged\n\u2022 report.doc.3: missing\n")),
             qPrintable(message.text));
    QVERIFY(message.text.endsWith(QStringLiteral("... and 5 more.")));
    QVERIFY(message.details.endsWith(QStringLiteral("\u2022 report.doc.15: matches")));
    QCOMPARE(filesIn(out.path()), before); // nothing written
}

namespace {

VerifyResult verify(const QString &chosen) {
    const VerifyPlan plan = planVerify(chosen);
    ProgressSink progress;
    return runVerify(plan, progress, StopRequest());
}

QStringList statuses(const VerifyResult &result) {
    static const char *const names[] = {"matches", "damaged", "missing", "unlisted"};
    QStringList shown;
    for (const VerifyResult::Entry &piece : result.pieces)
        shown << piece.name + u' ' + QLatin1StringView(names[int(piece.status)]);
    return shown;
}

} // namespace

void ChecksumsTest::verifyFromTheFirstPieceListsAGap() {
    QTemporaryDir out;
    splitReport(out.path());
    QFile::remove(out.filePath(QStringLiteral("report.doc.2")));

    const VerifyResult result = verify(out.filePath(QStringLiteral("report.doc.1")));

    QCOMPARE(statuses(result), (QStringList{QStringLiteral("report.doc.1 matches"),
                                            QStringLiteral("report.doc.2 missing"),
                                            QStringLiteral("report.doc.3 matches")}));
}

void ChecksumsTest::verifyNamesPiecesPastTheList() {
    QTemporaryDir out;
    splitReport(out.path());
    writeTestFile(out.filePath(QStringLiteral("report.doc.4")), "more");

    const VerifyResult result = verify(out.filePath(QStringLiteral("report.doc.bat")));

    QVERIFY(!result.allMatch());
    QCOMPARE(statuses(result).last(), QStringLiteral("report.doc.4 unlisted"));
}

void ChecksumsTest::firstPieceTakesItsCountOnlyFromAWholeList() {
    QTemporaryDir out;
    splitReport(out.path());
    QFile::remove(out.filePath(QStringLiteral("report.doc.bat")));
    // A list cut down to the first two pieces, without the whole file's line: it cannot tell
    // that the last piece it names is the last there was, and three pieces are found.
    const QString list = out.filePath(QStringLiteral("report.doc.sha256"));
    const QList<QByteArray> lines = readTestFile(list).split('\n');
    writeTestFile(list, lines[1] + '\n' + lines[2] + '\n');
    Yes yes;

    try {
        planJoin(out.filePath(QStringLiteral("report.doc.1")), yes);
        QFAIL("the join was not refused");
    } catch (const FileError &error) {
        QVERIFY2(error.reason().startsWith(QStringLiteral("it has no line for report.doc.3")),
                 error.what());
    }
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("report.doc"))));
}

QTEST_GUILESS_MAIN(ChecksumsTest)
#include "tst_checksums.moc"
