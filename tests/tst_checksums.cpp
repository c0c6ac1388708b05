#include "Failure.h"
#include "FaultyFileSystem.h"
#include "OutputTexts.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "Translations.h"
#include "join/JoinPlanner.h"
#include "join/JoinRun.h"
#include "messages/RefusalMessage.h"
#include "messages/RunMessages.h"
#include "names/ChecksumListText.h"
#include "names/OutputNames.h"
#include "names/PosixRestoreScript.h"
#include "run/RunProgress.h"
#include "split/SplitPlanner.h"
#include "verify/Verify.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>

#include <functional>

#include <sys/resource.h>

// Every split can prove its pieces: the list beside them is what sha256sum reads, and every
// join and check holds the pieces to it.
class ChecksumsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sha256sumAcceptsTheList();
    void listIsWhatTheSplitWrote_data();
    void listIsWhatTheSplitWrote();
    void damagedPieceRefusesTheJoin_data();
    void damagedPieceRefusesTheJoin();
    void handEditedLists_data();
    void handEditedLists();
    void earlierOutputsAreReplacedOnlyWhereTheyAreOurs_data();
    void earlierOutputsAreReplacedOnlyWhereTheyAreOurs();
    void posixScriptsAreHeldToThePieces_data();
    void posixScriptsAreHeldToThePieces();
    void verifyListsEveryPiece();
    void verifyFromTheFirstPieceListsAGap();
    void verifyOfManyPiecesAsOneAfterAnother_data();
    void verifyOfManyPiecesAsOneAfterAnother();
};

void ChecksumsTest::initTestCase() {
    installTranslations(); // the words as the programs say them: "1 piece"
}

namespace {

// Splits a file called report.doc of length bytes into folder, in pieces of 10 bytes.
QByteArray splitReport(const QString &folder, qint64 length = 25, bool checksums = true) {
    QTemporaryDir in;
    QByteArray bytes = patternBytes(length, 11);
    writeTestFile(in.filePath(QStringLiteral("report.doc")), bytes);
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("report.doc")));
    job.folder = folder;
    job.size = QStringLiteral("11");
    SplitRequest request = job.request();
    if (!checksums)
        request.leftOut << OutputNames::Kind::Checksums;
    SplitPlan plan = planSplit(request, testWork());
    ProgressSink progress;
    SplitRun(plan, progress, StopRequest()).run();
    return bytes;
}

VerifyResult verify(const QString &chosen) {
    const VerifyPlan plan = planVerify(chosen, testWork());
    ProgressSink progress;
    return runVerify(plan, progress, StopRequest());
}

QStringList statuses(const VerifyResult &result) {
    static const char *const names[] = {"matches", "damaged", "missing"};
    QStringList shown;
    for (const VerifyResult::Entry &piece : result.pieces)
        shown << piece.name + u' ' + QLatin1StringView(names[int(piece.status)]);
    return shown;
}

void removeIn(const QString &folder, std::initializer_list<const char *> names) {
    for (const char *name : names)
        QFile::remove(QDir(folder).filePath(QString::fromLatin1(name)));
}

JoinResult joinReport(const QString &folder) {
    Yes yes;
    const JoinPlan plan =
        planJoin(QDir(folder).filePath(QStringLiteral("report.doc.bat")), testWork(yes));
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

void ChecksumsTest::listIsWhatTheSplitWrote_data() {
    QTest::addColumn<QString>("size");
    QTest::addColumn<qint64>("length");
    // "sharing": its copies share blocks (btrfs), "sharing, cached" read only through the cache
    QTest::addColumn<QString>("volume"); // or "FAT", "rclone", "few descriptors"
    QTest::addRow("pieces of 10 bytes") << QStringLiteral("11") << qint64(25) << QString();
    QTest::addRow("pieces of whole blocks, on a volume that shares them")
        << QStringLiteral("8193") << qint64(20'000) << QStringLiteral("sharing");
    QTest::addRow("pieces of odd length, on a volume that shares blocks")
        << QStringLiteral("8192") << qint64(20'000) << QStringLiteral("sharing");
    QTest::addRow("pieces across the buffers and chunks the bytes pass through")
        << QStringLiteral("9000000") << qint64(10'000'000) << QString();
    QTest::addRow("large pieces, on a volume that writes them only through its cache")
        << QStringLiteral("9000000") << qint64(10'000'000) << QStringLiteral("cached");
    QTest::addRow("large pieces, on a volume that stops writing them past its cache midway")
        << QStringLiteral("9000000") << qint64(10'000'000) << QStringLiteral("cached midway");
    // More digests than are held in memory: the rest wait in a file of their own.
    QTest::addRow("many pieces") << QStringLiteral("4") << qint64(9'000) << QString();
    QTest::addRow("many pieces of whole blocks, on a volume that shares them")
        << QStringLiteral("4097") << qint64(2'100 * 4'096 + 5) << QStringLiteral("sharing");
    QTest::addRow("pieces of whole blocks, on a volume that reads them only through its cache")
        << QStringLiteral("8193") << qint64(20'000) << QStringLiteral("sharing, cached");
    QTest::addRow("many pieces, on a volume without unnamed files")
        << QStringLiteral("4") << qint64(9'000) << QStringLiteral("FAT");
    // Each piece's file is open until its bytes are written: only so many at once.
    QTest::addRow("many pieces, with few descriptors to spare")
        << QStringLiteral("4") << qint64(9'000) << QStringLiteral("few descriptors");
    QTest::addRow("pieces on an rclone mount, which fails every link")
        << QStringLiteral("11") << qint64(25) << QStringLiteral("rclone");
}

void ChecksumsTest::listIsWhatTheSplitWrote() {
    QFETCH(QString, size);
    QFETCH(qint64, length);
    QFETCH(QString, volume);
    QTemporaryDir in;
    QTemporaryDir out;
    const QByteArray bytes = patternBytes(length, 11);
    writeTestFile(in.filePath(QStringLiteral("report.doc")), bytes);
    FaultyFileSystem disk;
    if (volume.startsWith(u"sharing"))
        disk.actAsBlockSharing();
    if (volume.endsWith(u"cached"))
        disk.fail(FaultyFileSystem::Call::PastCache, EINVAL);
    if (volume == u"cached midway")
        disk.fail(FaultyFileSystem::Call::PastCache, EINVAL, 3);
    if (volume == u"FAT")
        disk.actAsFat();
    if (volume == u"rclone")
        disk.actAsRcloneMount();
    rlimit descriptors{};
    QVERIFY(getrlimit(RLIMIT_NOFILE, &descriptors) == 0);
    const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_NOFILE, &descriptors); });
    if (volume == u"few descriptors") {
        rlimit few = descriptors;
        few.rlim_cur = std::min<rlim_t>(few.rlim_cur, 48);
        QVERIFY(setrlimit(RLIMIT_NOFILE, &few) == 0);
    }
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("report.doc")));
    job.folder = out.path();
    job.size = size;
    job.files = &disk;

    QVERIFY(job.run().outcome == RunOutcome::Done);

    auto line = [](const QByteArray &data, const QByteArray &name) {
        return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex() + "  " + name +
               '\n';
    };
    QByteArray expected = line(bytes, "report.doc");
    const qint64 pieceLength = size.toLongLong() - 1;
    // The pieces hold what was hashed on its way to them.
    QByteArray joined;
    for (qint64 at = 0, piece = 1; at < length; at += pieceLength, ++piece) {
        const QString name = QStringLiteral("report.doc.%1").arg(piece);
        expected += line(bytes.mid(at, pieceLength), name.toUtf8());
        joined += readTestFile(out.filePath(name));
    }
    QVERIFY(joined == bytes);
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("report.doc.sha256"))), expected);
    // The script for macOS and Linux carries the same digests.
    const std::optional<PosixRestoreScript::Manifest> manifest =
        PosixRestoreScript::manifestOf(readTestFile(out.filePath(QStringLiteral("report.doc.sh"))),
                                       OutputNames(QStringLiteral("report.doc")));
    QVERIFY(manifest);
    QCOMPARE(checksumListText(OutputNames(QStringLiteral("report.doc")), manifest->wholeDigest,
                              manifest->pieceDigests),
             expected);
}

void ChecksumsTest::damagedPieceRefusesTheJoin_data() {
    QTest::addColumn<QString>("file"); // the one whose bit flips
    QTest::addColumn<bool>("mended");  // mended once the join copied it, before it is hashed
    QTest::addColumn<QString>("message");
    const QString list = QStringLiteral(" its SHA-256 does not match report.doc.sha256. Nothing "
                                        "was written.");
    QTest::addRow("the first piece") << QStringLiteral("report.doc.1") << false
                                     << QStringLiteral("report.doc.1 is damaged:") + list;
    QTest::addRow("a middle piece") << QStringLiteral("report.doc.2") << false
                                    << QStringLiteral("report.doc.2 is damaged:") + list;
    QTest::addRow("the last piece") << QStringLiteral("report.doc.3") << false
                                    << QStringLiteral("report.doc.3 is damaged:") + list;
    QTest::addRow("a piece mended between its copy and its hash")
        << QStringLiteral("report.doc.2") << true
        << QStringLiteral("report.doc.2 is damaged:") + list;
    QTest::addRow("the whole file's line, the digest of another file")
        << QStringLiteral("report.doc.sha256") << false
        << QStringLiteral("report.doc would not be the file that was split:") + list;
}

void ChecksumsTest::damagedPieceRefusesTheJoin() {
    QFETCH(QString, file);
    QFETCH(bool, mended);
    QFETCH(QString, message);
    QTemporaryDir out;
    splitReport(out.path());
    // The list alone gives the digests: where the script beside it gave others, the join
    // would refuse before it read a piece.
    removeIn(out.path(), {"report.doc.sh"});
    const QByteArray good = readTestFile(out.filePath(file));
    QByteArray bytes = good;
    bytes[2] = char(bytes[2] ^ 0x01); // one bit on its way to another machine
    writeTestFile(out.filePath(file), bytes);
    const QStringList before = filesIn(out.path());
    ProgressHooks progress;
    if (mended) // pieces of 10 bytes: the second is copied once 20 bytes are
        progress.onBytesCopied = [&](qint64 copied) {
            if (copied == 20)
                writeTestFile(out.filePath(file), good);
        };

    Yes yes;
    JoinResult result;
    {
        const JoinPlan plan =
            planJoin(out.filePath(QStringLiteral("report.doc.bat")), testWork(yes));
        result = JoinRun(plan, progress, StopRequest()).run();
        QCOMPARE(RunMessages::join(plan, result).text, message);
    }

    QVERIFY(result.outcome == RunOutcome::Failed &&
            result.failure->kind() == Failure::Kind::Damaged);
    QCOMPARE(filesIn(out.path()), before); // no joined file, no temporary file
    QVERIFY(!verify(out.filePath(QStringLiteral("report.doc.sha256"))).allMatch() || mended);
}

using Change = std::function<void(const QString &folder)>;
Q_DECLARE_METATYPE(Change)

namespace {

// A change of the list beside the pieces of report.doc.
Change listEdit(const std::function<QByteArray(const QByteArray &list)> &edit) {
    return [edit](const QString &folder) {
        const QString list = QDir(folder).filePath(QStringLiteral("report.doc.sha256"));
        writeTestFile(list, edit(readTestFile(list)));
    };
}

// Both: the change, and the restore scripts gone.
Change withoutScript(const Change &change) {
    return [change](const QString &folder) {
        change(folder);
        removeIn(folder, {"report.doc.bat", "report.doc.sh"});
    };
}

QByteArray lines(const QByteArray &list, std::initializer_list<int> kept) {
    const QList<QByteArray> all = list.split('\n');
    QByteArray text;
    for (const int line : kept)
        text += all[line] + '\n';
    return text;
}

} // namespace

void ChecksumsTest::handEditedLists_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("refusal"); // the code's name; empty: joined and verified
    const QString script = QStringLiteral("report.doc.bat");
    const QString first = QStringLiteral("report.doc.1");
    const QString list = QStringLiteral("report.doc.sha256");
    QTest::addRow("CR LF line ends")
        << listEdit([](const QByteArray &text) { return QByteArray(text).replace("\n", "\r\n"); })
        << script << QString();
    QTest::addRow("a byte order mark")
        << listEdit([](const QByteArray &text) { return "\xef\xbb\xbf" + text; }) << script
        << QString();
    QTest::addRow("upper-case digits and a binary mark") << listEdit([](const QByteArray &text) {
        QList<QByteArray> all = text.split('\n');
        all[1] = all[1].left(64).toUpper() + " *" + all[1].mid(66);
        return all.join('\n');
    }) << script << QString();
    QTest::addRow("the list chosen") << Change([](const QString &) {}) << list << QString();
    QTest::addRow("the list spelled in another case") << Change([](const QString &folder) {
        QFile::rename(QDir(folder).filePath(QStringLiteral("report.doc.sha256")),
                      QDir(folder).filePath(QStringLiteral("REPORT.DOC.SHA256")));
    }) << first << QString();
    QTest::addRow("a piece without its line") << listEdit([](const QByteArray &text) {
        return lines(text, {0, 1, 3});
    }) << script << QStringLiteral("ListSkipsPiece");
    QTest::addRow("a line for a piece the script does not name")
        << listEdit([](const QByteArray &text) {
               return text + QByteArray(64, 'a') + "  report.doc.4\n";
           })
        << script << QStringLiteral("ScriptDisagreesWithList");
    QTest::addRow("a script that joins fewer pieces than the list names")
        << Change([](const QString &folder) {
               writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc.bat")),
                             "copy /b \"report.doc.1\" + \"report.doc.2\"  \"report.doc\"\r\n"
                             "echo report.doc has been restored\r\n");
           })
        << list << QStringLiteral("ScriptDisagreesWithList");
    QTest::addRow("a piece past the last the list names") << Change([](const QString &folder) {
        writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc.4")), "more");
    }) << list << QStringLiteral("ListOmitsPieceBeside");
    QTest::addRow("only the whole file's line, without a script")
        << withoutScript(listEdit([](const QByteArray &text) { return lines(text, {0}); })) << first
        << QStringLiteral("ListHasNoPieces");
    QTest::addRow("only the first piece's line, without a script")
        << withoutScript(listEdit([](const QByteArray &text) {
               return lines(text, {0, 1});
           }))
        << first << QStringLiteral("ListOmitsPieceBeside");
    QTest::addRow("no line for the whole file, without a script")
        << withoutScript(listEdit([](const QByteArray &text) {
               return lines(text, {1, 2});
           }))
        << first << QStringLiteral("ListHasNoWholeLine");
    QTest::addRow("an empty list") << listEdit([](const QByteArray &) { return QByteArray(); })
                                   << list << QStringLiteral("ListHasNoWholeLine");
    QTest::addRow("a line that names another file") << listEdit([](const QByteArray &text) {
        return text + QByteArray(64, 'a') + "  ../../etc/passwd\n";
    }) << script << QStringLiteral("ListLineNamesOther");
    QTest::addRow("a line that is no digest")
        << listEdit([](const QByteArray &text) { return "rm -rf *\x1b[2J\n" + text; }) << script
        << QStringLiteral("ListLineNotDigest");
    QTest::addRow("a piece named twice")
        << listEdit([](const QByteArray &text) { return text + text.split('\n')[1] + '\n'; })
        << script << QStringLiteral("ListLineRepeats");
}

void ChecksumsTest::handEditedLists() {
    QFETCH(Change, change);
    QFETCH(QString, chosen);
    QFETCH(QString, refusal);
    QTemporaryDir out;
    const QByteArray bytes = splitReport(out.path());
    change(out.path());
    const QString path = out.filePath(chosen);
    Yes yes;

    if (refusal.isEmpty()) {
        {
            const JoinPlan plan = planJoin(path, testWork(yes));
            ProgressSink progress;
            const JoinResult result = JoinRun(plan, progress, StopRequest()).run();
            const QString told = RunMessages::join(plan, result).text;
            QVERIFY2(told.endsWith(QStringLiteral("All 3 pieces matched their checksums.")),
                     qPrintable(told));
        }
        QCOMPARE(readTestFile(out.filePath(QStringLiteral("report.doc"))), bytes);
        QVERIFY(verify(path).allMatch());
        return;
    }
    for (const auto &check : {std::function<void()>([&] { planJoin(path, testWork(yes)); }),
                              std::function<void()>([&] { planVerify(path, testWork()); })}) {
        try {
            check();
            QFAIL("the list was taken");
        } catch (const Failure &error) {
            QCOMPARE(QString::fromLatin1(Failure::codeName(error.code())), refusal);
        }
    }
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("report.doc"))));
}

void ChecksumsTest::earlierOutputsAreReplacedOnlyWhereTheyAreOurs_data() {
    QTest::addColumn<qint64>("earlier"); // the earlier split's length, in pieces of 10
    QTest::addColumn<QString>("suffix"); // of its file that was changed since
    QTest::addColumn<qsizetype>("at");   // where one of its bytes was changed; -1: none, -2: last
    QTest::addColumn<bool>("checksums"); // whether the new split writes a list
    QTest::addColumn<bool>("refused");
    const QString list = QStringLiteral(".sha256");
    QTest::addRow("ours, replaced") << qint64(35) << list << qsizetype(-1) << true << false;
    QTest::addRow("ours, removed without a new list")
        << qint64(35) << list << qsizetype(-1) << false << false;
    QTest::addRow("someone else's, refused") << qint64(0) << list << qsizetype(-1) << true << true;
    QTest::addRow("someone else's, left alone without a new list")
        << qint64(0) << list << qsizetype(-1) << false << false;
    // Many pieces: each file is read a block at a time, and its lines run across the blocks.
    for (const QString &suffix : {list, QStringLiteral(".sh"), QStringLiteral(".bat")}) {
        QTest::addRow("ours, of 5,000 pieces, %s replaced", qPrintable(suffix))
            << qint64(50'000) << suffix << qsizetype(-1) << true << false;
        QTest::addRow("ours, of 5,000 pieces, %s changed past its first block", qPrintable(suffix))
            << qint64(50'000) << suffix << qsizetype(70'000) << true << true;
        QTest::addRow("ours, of 5,000 pieces, %s changed in its last byte", qPrintable(suffix))
            << qint64(50'000) << suffix << qsizetype(-2) << true << true;
    }
}

void ChecksumsTest::earlierOutputsAreReplacedOnlyWhereTheyAreOurs() {
    QFETCH(qint64, earlier);
    QFETCH(QString, suffix);
    QFETCH(qsizetype, at);
    QFETCH(bool, checksums);
    QFETCH(bool, refused);
    QTemporaryDir out;
    const QString changed = out.filePath(QStringLiteral("report.doc") + suffix);
    if (earlier > 0)
        splitReport(out.path(), earlier);
    else
        writeTestFile(changed, "d5c4b3a2  report.doc\nnotes: from the mirror\n");
    if (at != -1) {
        QByteArray bytes = readTestFile(changed);
        const qsizetype byte = at < 0 ? bytes.size() + at + 1 : at;
        QVERIFY(byte < bytes.size());
        bytes[byte] = '#'; // out of every format of ours
        writeTestFile(changed, bytes);
    }
    const QByteArray before = readTestFile(changed);

    try {
        splitReport(out.path(), 25, checksums);
        QVERIFY(!refused);
    } catch (const Failure &refusal) {
        QVERIFY2(refusal.parts().front().kind() == Failure::Kind::NotOurs, refusal.what());
        QVERIFY(refused);
    }

    if (earlier == 0 || refused)
        QCOMPARE(readTestFile(changed), before);
    else if (suffix == QStringLiteral(".sha256"))
        QCOMPARE(QFile::exists(changed), checksums);
    // The longer one's pieces go with it, or all stay.
    QCOMPARE(QFile::exists(out.filePath(QStringLiteral("report.doc.4"))), refused && earlier > 0);
}

namespace {

// The script for macOS and Linux of report.doc, as a split of a file whose bytes are bytes
// would write it, in pieces of 10.
QByteArray posixScriptOf(const QByteArray &bytes) {
    const auto digest = [](const QByteArray &data) {
        return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
    };
    QList<qint64> lengths;
    QList<QByteArray> digests;
    for (qsizetype at = 0; at < bytes.size(); at += 10) {
        lengths << bytes.mid(at, 10).size();
        digests << digest(bytes.mid(at, 10));
    }
    return posixScriptText(OutputNames(QStringLiteral("report.doc")), lengths, digest(bytes),
                           digests);
}

} // namespace

void ChecksumsTest::posixScriptsAreHeldToThePieces_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("joinRefusal"); // the code's name; empty: joined whole
    QTest::addColumn<QString>("verifyFault"); // the code's name; empty: all match
    const QString sh = QStringLiteral("report.doc.sh");
    const QString bat = QStringLiteral("report.doc.bat");
    const Change alone = [](const QString &folder) {
        removeIn(folder, {"report.doc.bat", "report.doc.sha256"});
    };
    const Change appended = [](const QString &folder) {
        const QString script = QDir(folder).filePath(QStringLiteral("report.doc.sh"));
        writeTestFile(script, readTestFile(script) + "echo and one more line\n");
    };
    const Change another = [](const QString &folder) {
        writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc.sh")),
                      posixScriptOf(patternBytes(25, 12)));
    };
    QTest::addRow("alone, chosen") << alone << sh << QString() << QString();
    QTest::addRow("alone, the first piece chosen")
        << alone << QStringLiteral("report.doc.1") << QString() << QString();
    QTest::addRow("alone, a piece damaged") << Change([alone](const QString &folder) {
        alone(folder);
        writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc.2")), "0123456789");
    }) << sh << QStringLiteral("PieceDamaged")
                                            << QStringLiteral("PieceDamaged");
    QTest::addRow("alone, a piece cut short") << Change([alone](const QString &folder) {
        alone(folder);
        writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc.3")), "abc");
    }) << sh << QStringLiteral("PieceDamaged") << QStringLiteral("PieceDamaged");
    QTest::addRow("its whole file's digest cut, chosen") << Change([](const QString &folder) {
        const QString script = QDir(folder).filePath(QStringLiteral("report.doc.sh"));
        QByteArray text = readTestFile(script);
        writeTestFile(script, text.remove(text.indexOf("\nwhole='") + 8, 65)); // and its quote
    }) << sh << QStringLiteral("PosixScriptNotOurs") << QStringLiteral("PosixScriptNotOurs");
    QTest::addRow("a line appended, chosen")
        << appended << sh << QStringLiteral("PosixScriptNotOurs")
        << QStringLiteral("PosixScriptNotOurs");
    QTest::addRow("a line appended, alone, the first piece chosen")
        << Change([alone, appended](const QString &folder) {
               alone(folder);
               appended(folder);
           })
        << QStringLiteral("report.doc.1") << QString() << QStringLiteral("PosixScriptNotOurs");
    QTest::addRow("not there, chosen") << Change([alone](const QString &folder) {
        alone(folder);
        removeIn(folder, {"report.doc.sh"});
    }) << sh << QStringLiteral("System")
                                       << QStringLiteral("NoListToCheck");
    QTest::addRow("a line appended, the other script chosen")
        << appended << bat << QString() << QStringLiteral("PosixScriptNotOurs");
    QTest::addRow("another split's")
        << another << bat << QStringLiteral("PosixScriptDisagreesWithList")
        << QStringLiteral("PosixScriptDisagreesWithList");
}

void ChecksumsTest::posixScriptsAreHeldToThePieces() {
    QFETCH(Change, change);
    QFETCH(QString, chosen);
    QFETCH(QString, joinRefusal);
    QFETCH(QString, verifyFault);
    QTemporaryDir out;
    const QByteArray bytes = splitReport(out.path());
    change(out.path());
    const QString path = out.filePath(chosen);
    const auto codeOf = [](const Failure &failure) {
        return QString::fromLatin1(Failure::codeName(failure.code()));
    };
    Yes yes;

    QString refused;
    try {
        const JoinPlan plan = planJoin(path, testWork(yes));
        ProgressSink progress;
        const JoinResult result = JoinRun(plan, progress, StopRequest()).run();
        if (result.failure)
            refused = codeOf(*result.failure);
    } catch (const Failure &refusal) {
        refused = codeOf(refusal);
    }
    QCOMPARE(refused, joinRefusal);
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("report.doc"))),
             joinRefusal.isEmpty() ? bytes : QByteArray());

    QString fault;
    try {
        const VerifyResult result = verify(path);
        if (result.posixScriptFault)
            fault = codeOf(*result.posixScriptFault);
        else if (!result.allMatch())
            fault = QStringLiteral("PieceDamaged");
    } catch (const Failure &refusal) {
        fault = codeOf(refusal);
    }
    QCOMPARE(fault, verifyFault);
}

void ChecksumsTest::verifyListsEveryPiece() {
    QTemporaryDir out;
    splitReport(out.path(), 150); // 15 pieces: more lines than the box shows
    writeTestFile(out.filePath(QStringLiteral("report.doc.2")), "damaged");
    QFile::remove(out.filePath(QStringLiteral("report.doc.3")));
    const QStringList before = filesIn(out.path());

    const VerifyPlan plan =
        planVerify(out.filePath(QStringLiteral("report.doc.sha256")), testWork());
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

void ChecksumsTest::verifyFromTheFirstPieceListsAGap() {
    QTemporaryDir out;
    splitReport(out.path());
    QFile::remove(out.filePath(QStringLiteral("report.doc.2")));

    const VerifyResult result = verify(out.filePath(QStringLiteral("report.doc.1")));

    QCOMPARE(statuses(result), (QStringList{QStringLiteral("report.doc.1 matches"),
                                            QStringLiteral("report.doc.2 missing"),
                                            QStringLiteral("report.doc.3 matches")}));
}

void ChecksumsTest::verifyOfManyPiecesAsOneAfterAnother_data() {
    QTest::addColumn<QList<int>>("damaged"); // pieces written over; a negative one: a folder
    QTest::addColumn<bool>("stopped");       // asked to stop before the check
    QTest::addColumn<QStringList>("wrong");  // the pieces that do not match, in order
    QTest::addColumn<int>("joined");         // whether they make the file: 1, 0, or -1 for not told
    QTest::addRow("300 pieces whole") << QList<int>() << false << QStringList() << 1;
    QTest::addRow("the first, the 7th and the last damaged")
        << QList<int>{1, 7, 300} << false
        << QStringLiteral("report.doc.1 report.doc.7 report.doc.300").split(u' ') << 0;
    QTest::addRow("a folder at the 120th")
        << QList<int>{-120} << false << QStringList{QStringLiteral("report.doc.120")} << -1;
    QTest::addRow("stopped") << QList<int>() << true << QStringList() << -1;
}

void ChecksumsTest::verifyOfManyPiecesAsOneAfterAnother() {
    QFETCH(QList<int>, damaged);
    QFETCH(bool, stopped);
    QFETCH(QStringList, wrong);
    QFETCH(int, joined);
    QTemporaryDir out;
    splitReport(out.path(), 3000);
    for (const int piece : damaged) {
        const QString path = out.filePath(QStringLiteral("report.doc.%1").arg(std::abs(piece)));
        if (piece > 0)
            writeTestFile(path, "0123456789");
        else
            QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    }
    struct Counted : ProgressSink {
        qint64 bytes = 0;
        void bytesCopied(qint64 more) override { bytes += more; }
    } progress;
    StopRequest stop;
    if (stopped)
        stop.request();

    const VerifyResult result = runVerify(
        planVerify(out.filePath(QStringLiteral("report.doc.sha256")), testWork()), progress, stop);

    QVERIFY(result.outcome == (stopped ? RunOutcome::Stopped : RunOutcome::Done));
    QStringList notMatching;
    for (const VerifyResult::Entry &piece : result.pieces) {
        if (piece.status != PieceStatus::Matches)
            notMatching << piece.name;
    }
    QCOMPARE(notMatching, wrong);
    QCOMPARE(result.joined ? int(*result.joined == PieceStatus::Matches) : -1, joined);
    QCOMPARE(progress.bytes, stopped ? 0 : 3000 - (joined < 0 ? 10 : 0));
}

QTEST_GUILESS_MAIN(ChecksumsTest)
#include "tst_checksums.moc"
