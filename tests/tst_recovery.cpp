#include "Failure.h"
#include "Par2Program.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "Translations.h"
#include "join/RebuildingJoin.h"
#include "messages/RunMessages.h"
#include "names/OutputNames.h"
#include "recovery/RecoveryLayout.h"
#include "verify/Verify.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <variant>

// Recovery files as a sender makes them and a recipient uses them, through the real par2.
class RecoveryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layoutKeepsItsPromise_data();
    void layoutKeepsItsPromise();
    void setsAreRebuilt_data();
    void setsAreRebuilt();
    void splitAgainTakesOnlyItsOwnRecoveryFiles_data();
    void splitAgainTakesOnlyItsOwnRecoveryFiles();
    void interruptedRunsLeaveNothingHalfMade_data();
    void interruptedRunsLeaveNothingHalfMade();
};

namespace {

const QString kName = QStringLiteral("report.doc");
// Ten pieces at 100k, the last shorter: 9 of 99,999 bytes and one of 50,009.
constexpr qint64 kLength = 950'000;

// Every entry of folder, hidden ones and folders too.
QStringList entriesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Splits kName, kLength bytes, into out at 100k with recovery files for amount ("1", "10%").
QByteArray splitWithRecovery(const QString &out, const QString &amount, ProgressSink &progress,
                             const StopRequest &stop, SplitResult &result) {
    static QTemporaryDir in;
    QByteArray bytes = patternBytes(kLength, 9);
    writeTestFile(in.filePath(kName), bytes);
    SplitSetup job;
    job.add(in.filePath(kName));
    job.folder = out;
    job.size = QStringLiteral("100000");
    job.recovery = {amount.chopped(amount.endsWith(u'%')).toLongLong(), amount.endsWith(u'%')};
    try {
        result = job.run(progress, stop);
    } catch (const Failure &refused) { // before the first byte
        result.end(refused.parts().empty() ? refused : refused.parts().front());
    }
    return bytes;
}

// Does to the set in folder what damage says: "lose:3", "garble:5", "cut:4", "garble:vol0",
// "lose:list".
void harm(const QString &folder, const QString &damage) {
    const OutputNames names(kName);
    for (const QString &step : damage.split(u' ', Qt::SkipEmptyParts)) {
        const QString what = step.section(u':', 0, 0), which = step.section(u':', 1);
        const QString path = QDir(folder).filePath(
            which == u"list"           ? names.checksums()
            : which.startsWith(u"vol") ? names.recoveryVolume(which.mid(3).toLongLong(), 1)
                                       : names.piece(which.toLongLong()));
        QFile file(path);
        if (what == u"lose")
            QVERIFY(file.remove());
        else if (what == u"rename") // out of the set's sight, over the copy harmed before
            QVERIFY((QFile::remove(path + QStringLiteral(".bak")) || true) &&
                    file.rename(path + QStringLiteral(".bak")));
        else if (what == u"cut")
            QVERIFY(file.resize(file.size() - 1));
        else if (what == u"extend")
            QVERIFY(file.open(QIODevice::Append) && file.write("more") == 4);
        else if (what == u"swap") { // with the piece after it
            const QString next = QDir(folder).filePath(names.piece(which.toLongLong() + 1));
            const QByteArray bytes = readTestFile(path);
            writeTestFile(path, readTestFile(next));
            writeTestFile(next, bytes);
        } else if (what == u"relist") { // the list gives another digest for it
            const QString list = QDir(folder).filePath(names.checksums());
            const QByteArray line = "  " + QFile::encodeName(names.piece(which.toLongLong()));
            QByteArray text = readTestFile(list);
            const qsizetype at = text.indexOf(line + '\n') - 64;
            QVERIFY(at >= 0);
            text.replace(at, 64, QByteArray(64, 'e'));
            writeTestFile(list, text);
            // Its restore script for macOS and Linux, which would disagree, goes with it.
            QVERIFY(QFile::remove(QDir(folder).filePath(names.posixScript())));
        } else
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(100) && file.write("harm") == 4);
    }
}

// The file the pieces in folder make, one after another.
QByteArray piecesJoined(const QString &folder) {
    QByteArray joined;
    for (qint64 piece = 1; QFile::exists(QDir(folder).filePath(OutputNames(kName).piece(piece)));
         ++piece)
        joined += readTestFile(QDir(folder).filePath(OutputNames(kName).piece(piece)));
    return joined;
}

// What par2 alone makes of a copy of the set in folder.
QByteArray rebuiltByPar2(const QString &folder) {
    QTemporaryDir copy;
    for (const QString &file : filesIn(folder))
        QFile::copy(QDir(folder).filePath(file), copy.filePath(file));
    QProcess par2;
    par2.setWorkingDirectory(copy.path());
    par2.start(QStringLiteral("par2"), {QStringLiteral("r"), kName + QStringLiteral(".par2")});
    par2.waitForFinished(60'000);
    return piecesJoined(copy.path());
}

} // namespace

void RecoveryTest::initTestCase() {
    QVERIFY2(Par2Program::isAvailable(), "scripts/install-deps.sh installs par2 for these tests");
    installTranslations(); // the words as the programs say them: "1 of the 3 pieces is"
}

void RecoveryTest::layoutKeepsItsPromise_data() {
    QTest::addColumn<qint64>("pieces");
    QTest::addColumn<qint64>("pieceLength");
    QTest::addColumn<qint64>("lost");
    QTest::addColumn<qint64>("largestFile"); // of the output folder's file system
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal"); // the code's name; empty where a layout is expected
    const qint64 any = std::numeric_limits<qint64>::max(), fat32 = 4'294'967'295;
    const QString doc = QStringLiteral("report.doc");
    QTest::addRow("ten pieces at 100k")
        << qint64(10) << qint64(99'999) << qint64(1) << any << doc << QString();
    QTest::addRow("more lost than pieces")
        << qint64(3) << qint64(1'000'001) << qint64(5) << any << doc << QString();
    QTest::addRow("pieces of 1 byte")
        << qint64(32'768) << qint64(1) << qint64(2) << any << doc << QString();
    QTest::addRow("pieces larger than a FAT32 file")
        << qint64(3) << qint64(8'000'000'001) << qint64(1) << fat32 << doc << QString();
    QTest::addRow("more pieces than PAR2 takes")
        << qint64(32'769) << qint64(1'000) << qint64(1) << any << doc
        << QStringLiteral("TooManyPiecesForRecovery");
    QTest::addRow("long names of many pieces")
        << qint64(20'000) << qint64(1'000) << qint64(1) << any << QString(200, u'n')
        << QStringLiteral("Par2ArgumentsTooLong");
}

void RecoveryTest::layoutKeepsItsPromise() {
    QFETCH(qint64, pieces);
    QFETCH(qint64, pieceLength);
    QFETCH(qint64, lost);
    QFETCH(qint64, largestFile);
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    const auto planned = layoutRecovery(pieces, pieceLength, lost, largestFile, name);
    if (!refusal.isEmpty()) {
        QVERIFY(std::holds_alternative<Failure>(planned));
        QCOMPARE(QString::fromLatin1(Failure::codeName(std::get<Failure>(planned).code())),
                 refusal);
        return;
    }
    QVERIFY(std::holds_alternative<RecoveryLayout>(planned));
    const RecoveryLayout layout = std::get<RecoveryLayout>(planned);
    QCOMPARE(layout.blockBytes % 4, 0);
    QVERIFY(layout.blockBytes * layout.blocksPerPiece >= pieceLength); // a piece fills its blocks
    QVERIFY(pieces * layout.blocksPerPiece <= 32'768);
    QCOMPARE(layout.volumes, std::min(lost, pieces) * layout.blocksPerPiece); // any lost pieces
    QVERIFY(layout.volumeBytes <= largestFile && layout.indexBytes <= largestFile);
}

void RecoveryTest::setsAreRebuilt_data() {
    QTest::addColumn<QString>("recovery"); // lost pieces they rebuild, or a share of them
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("par2");    // on the PATH while the split runs
    QTest::addColumn<QString>("told"); // by the check, or by the split where it fails
    QTest::addColumn<bool>("rebuilt");
    const char *canOne = "1 of the 10 pieces is damaged or missing; the recovery files can "
                         "rebuild it.";
    auto row = [](const char *tag, const char *recovery, const char *damage, bool par2,
                  const char *told, bool rebuilt) {
        QTest::addRow("%s", tag) << QString::fromUtf8(recovery) << QString::fromUtf8(damage) << par2
                                 << QString::fromUtf8(told) << rebuilt;
    };
    row("one piece lost", "1", "lose:3", true, canOne, true);
    row("the last, shorter piece lost", "1", "lose:10", true, canOne, true);
    row("a damaged piece", "1", "garble:5", true, canOne, true);
    row("a piece cut short", "1", "cut:4", true, canOne, true);
    row("a piece renamed away", "1", "rename:8", true, canOne, true);
    row("a piece with bytes added", "1", "extend:2", true, canOne, true);
    // par2 finds each in the other's file: no recovery block is spent on them.
    row("two pieces swapped", "1", "swap:3", true,
        "2 of the 10 pieces are damaged or missing; the recovery files can rebuild them.", true);
    row("two lost of Rebuild 2", "2", "lose:2 lose:7", true,
        "2 of the 10 pieces are damaged or missing; the recovery files can rebuild them.", true);
    row("one lost of 10 %", "10%", "lose:1", true, canOne, true);
    row("two lost of 15 %, rounded up", "15%", "lose:2 lose:7", true,
        "2 of the 10 pieces are damaged or missing; the recovery files can rebuild them.", true);
    row("a lost piece rebuilt as the list does not give it", "1", "lose:3 relist:3", true, canOne,
        false);
    row("two lost of Rebuild 1", "1", "lose:2 lose:7", true,
        "2 of the 10 pieces are damaged or missing, more than the recovery files can rebuild: 1 "
        "more piece would be needed.",
        false);
    row("a damaged recovery file, every piece whole", "1", "garble:vol0", true,
        "1 of the 2 recovery files is damaged or missing", true);
    row("a damaged recovery file and a lost piece", "1", "garble:vol0 lose:6", true,
        "1 more piece would be needed", false);
    row("no par2 to make them", "1", "", false,
        "recovery files need the par2 program (apt install par2)", false);
}

void RecoveryTest::setsAreRebuilt() {
    QFETCH(QString, recovery);
    QFETCH(QString, damage);
    QFETCH(bool, par2);
    QFETCH(QString, told);
    QFETCH(bool, rebuilt);
    QTemporaryDir out, emptyBin;
    const QByteArray path = qgetenv("PATH");
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
    if (!par2)
        qputenv("PATH", QFile::encodeName(emptyBin.path()));
    ProgressSink progress;
    const StopRequest stop;
    SplitResult split;
    const QByteArray source = splitWithRecovery(out.path(), recovery, progress, stop, split);
    if (!par2) {
        QVERIFY(split.outcome == RunOutcome::Failed);
        QVERIFY2(split.failure->code() == Failure::Code::Par2Missing, split.failure->what());
        QCOMPARE(entriesIn(out.path()), QStringList());
        return;
    }
    QVERIFY(split.outcome == RunOutcome::Done);
    harm(out.path(), damage);
    const QString list = out.filePath(OutputNames(kName).checksums());

    const VerifyPlan check = planVerify(list, testWork());
    const VerifyResult checked = runVerify(check, progress, stop);
    QVERIFY2(RunMessages::verify(check, checked).text.contains(told),
             qPrintable(RunMessages::verify(check, checked).text));

    const QStringList before = entriesIn(out.path());
    Yes yes;
    try {
        const JoinOutcome joined = joinRebuilding(list, {progress, stop, yes});
        QVERIFY2(joined.result.outcome == RunOutcome::Done,
                 qPrintable(RunMessages::join(joined.plan, joined.result).text));
        QVERIFY(rebuilt);
    } catch (const Failure &failure) {
        QVERIFY2(!rebuilt, failure.what());
        QCOMPARE(entriesIn(out.path()), before); // nothing made, nothing lost
        return;
    }
    QVERIFY(readTestFile(out.filePath(kName)) == source);
    QVERIFY(piecesJoined(out.path()) == source);
    if (!damage.contains(u"vol")) {
        QFile::remove(out.filePath(kName));
        harm(out.path(), damage);
        QVERIFY(rebuiltByPar2(out.path()) == source); // the recipient without Tessary
    }
}

void RecoveryTest::splitAgainTakesOnlyItsOwnRecoveryFiles_data() {
    QTest::addColumn<QString>("damage"); // to the first split's files
    QTest::addColumn<bool>("replaced");
    QTest::addRow("an earlier set, as it was made") << QString() << true;
    QTest::addRow("a recovery file changed since") << QStringLiteral("garble:vol0") << false;
    QTest::addRow("no list to tell they are ours") << QStringLiteral("lose:list") << false;
}

void RecoveryTest::splitAgainTakesOnlyItsOwnRecoveryFiles() {
    QFETCH(QString, damage);
    QFETCH(bool, replaced);
    QTemporaryDir out;
    ProgressSink progress;
    const StopRequest stop;
    SplitResult first, second;
    splitWithRecovery(out.path(), QStringLiteral("1"), progress, stop, first);
    QVERIFY(first.outcome == RunOutcome::Done);
    harm(out.path(), damage);
    const QString volume = out.filePath(OutputNames(kName).recoveryVolume(0, 1));
    const QByteArray before = readTestFile(volume);

    splitWithRecovery(out.path(), QStringLiteral("1"), progress, stop, second);

    QCOMPARE(second.outcome == RunOutcome::Done, replaced);
    if (!replaced) {
        QCOMPARE(second.failure->kind(), Failure::Kind::NotOurs);
        QVERIFY2(second.failure->code() == Failure::Code::OutputNotOurs, second.failure->what());
        QVERIFY(readTestFile(volume) == before);
    }
}

namespace {

// What comes in the way of a run: a stop while recovery files are made or pieces rebuilt, or
// a file of the user's put at a lost piece's name while par2 rebuilds it.
enum class Interference { StopMaking, StopRebuilding, FileAtLostPiece };

} // namespace

Q_DECLARE_METATYPE(Interference)

void RecoveryTest::interruptedRunsLeaveNothingHalfMade_data() {
    QTest::addColumn<Interference>("interference");
    QTest::addRow("a stop while recovery files are made") << Interference::StopMaking;
    QTest::addRow("a stop while pieces are rebuilt") << Interference::StopRebuilding;
    QTest::addRow("a file put at a lost piece's name while it is rebuilt")
        << Interference::FileAtLostPiece;
}

void RecoveryTest::interruptedRunsLeaveNothingHalfMade() {
    QFETCH(Interference, interference);
    QTemporaryDir out;
    StopRequest stop;
    // Stops once par2 is under way, past the pieces' own bytes.
    ProgressHooks progress;
    progress.onBytesCopied = [&](qint64 bytes) {
        if (interference == Interference::StopMaking && bytes > kLength)
            stop.request();
    };
    SplitResult split;
    splitWithRecovery(out.path(), QStringLiteral("2"), progress, stop, split);
    if (interference == Interference::StopMaking) {
        QVERIFY(split.outcome == RunOutcome::Stopped);
        QCOMPARE(entriesIn(out.path()), QStringList());
        return;
    }
    // The damaged piece goes aside before the lost one, after it, is put in place.
    harm(out.path(), QStringLiteral("garble:2 lose:8"));
    QStringList before = entriesIn(out.path());
    const QString lost = out.filePath(OutputNames(kName).piece(8));
    const QByteArray garbled = readTestFile(out.filePath(OutputNames(kName).piece(2)));
    // Comes in the way as par2 starts on the recovery files.
    class RebuildWatch : public ProgressSink {
    public:
        std::function<void()> atPar2;
        void fileStarted(qint64, const QString &name, qint64) override {
            if (name.endsWith(QStringLiteral(".par2")))
                atPar2();
        }
    } rebuildWatch;
    rebuildWatch.atPar2 = [&] {
        if (interference == Interference::StopRebuilding)
            stop.request();
        else
            writeTestFile(lost, "the user's");
    };
    Yes yes;
    try {
        joinRebuilding(out.filePath(OutputNames(kName).checksums()), {rebuildWatch, stop, yes});
        QFAIL("the join went on past what came in its way");
    } catch (const Failure &failure) {
        QCOMPARE(failure.kind(), interference == Interference::StopRebuilding
                                     ? Failure::Kind::Stopped
                                     : Failure::Kind::Exists);
    }
    if (interference == Interference::FileAtLostPiece) {
        before.append(OutputNames(kName).piece(8)); // the user's file, which stays theirs
        before.sort();
        QCOMPARE(readTestFile(lost), QByteArray("the user's"));
    }
    QCOMPARE(entriesIn(out.path()), before);
    QCOMPARE(readTestFile(out.filePath(OutputNames(kName).piece(2))), garbled);
}

QTEST_GUILESS_MAIN(RecoveryTest)
#include "tst_recovery.moc"
