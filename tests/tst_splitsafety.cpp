#include "Failure.h"
#include "FatMount.h"
#include "FaultyFileSystem.h"
#include "Leftovers.h"
#include "OutputFolder.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "TmpfsMount.h"
#include "join/JoinPlanner.h"
#include "join/JoinRun.h"
#include "messages/RefusalMessage.h"
#include "run/RunProgress.h"
#include "split/SplitPlan.h"
#include "split/SplitRun.h"
#include "words/MessageText.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <functional>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// What a split writes is what its check looked at, whatever is done to the folders between the
// two; what it leaves after a failure is whole or absent.
class SplitSafetyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void folderSwappedForALinkAfterTheCheckIsNotWritten();
    void fileNotCheckedAtAPieceIsKept_data();
    void fileNotCheckedAtAPieceIsKept();
    void sourceSwappedAfterTheCheckIsNotSplit_data();
    void sourceSwappedAfterTheCheckIsNotSplit();
    void namesDifferingInCaseOnAVolumeThatIgnoresIt();
    void scriptCutByAFullDiskIsNotLeft();
    void outputThatAppearsMeanwhileIsNotReplaced_data();
    void outputThatAppearsMeanwhileIsNotReplaced();
    void tooFewFilesLeftOnTheVolume();
    void controlCharactersAreShownNotSent();
    void privateFilesStayPrivate();
    void secondRunWritingTheSameOutputsIsRefused();
    void onlyOurOwnLeftoversAreSwept_data();
    void onlyOurOwnLeftoversAreSwept();
    void sourceThatChangesWhileItIsSplitFails_data();
    void sourceThatChangesWhileItIsSplitFails();
    void moveWithoutReplacingFallsBackToALink_data();
    void moveWithoutReplacingFallsBackToALink();
    void syncfsIsTrustedOnlyWhereItReachesTheStorage_data();
    void syncfsIsTrustedOnlyWhereItReachesTheStorage();
};

namespace {

void hardLink(const QString &existing, const QString &link) {
    QVERIFY(::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) ==
            0);
}

} // namespace

void SplitSafetyTest::folderSwappedForALinkAfterTheCheckIsNotWritten() {
    QTemporaryDir in;
    QTemporaryDir root;
    const QString out = root.filePath(QStringLiteral("out"));
    const QString elsewhere = root.filePath(QStringLiteral("elsewhere"));
    QDir().mkpath(out);
    QDir().mkpath(elsewhere);
    // In the other folder, a file the check would refuse to write: someone's, with two names.
    writeTestFile(root.filePath(QStringLiteral("kept")), "someone's file");
    hardLink(root.filePath(QStringLiteral("kept")),
             QDir(elsewhere).filePath(QStringLiteral("f.1")));
    writeTestFile(in.filePath(QStringLiteral("f")), patternBytes(30));
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("f")));
    job.folder = out;

    // Between the check and the run, the checked folder is moved away and a link put in its
    // place.
    const SplitResult result = job.run([&] {
        QVERIFY(QDir().rename(out, root.filePath(QStringLiteral("moved"))));
        QVERIFY(QFile::link(elsewhere, out));
    });

    QVERIFY(result.outcome == RunOutcome::Done);
    QCOMPARE(readTestFile(root.filePath(QStringLiteral("kept"))), QByteArray("someone's file"));
    QCOMPARE(filesIn(elsewhere), QStringList{QStringLiteral("f.1")});
    QCOMPARE(filesIn(root.filePath(QStringLiteral("moved"))).size(),
             7); // f.1 to f.4, .bat, .sh, .sha256
}

void SplitSafetyTest::fileNotCheckedAtAPieceIsKept_data() {
    QTest::addColumn<bool>("earlierSplit");
    QTest::addColumn<QString>("put"); // "file", "link" (to another file) or "written" over it
    QTest::addColumn<QString>("at");
    const QString piece = QStringLiteral("f.3");
    QTest::addRow("a file at a free name") << false << QStringLiteral("file") << piece;
    QTest::addRow("a hard link at a free name") << false << QStringLiteral("link") << piece;
    QTest::addRow("a file in place of an earlier piece") << true << QStringLiteral("file") << piece;
    QTest::addRow("a hard link in place of an earlier piece")
        << true << QStringLiteral("link") << piece;
    QTest::addRow("an earlier piece written since") << true << QStringLiteral("written") << piece;
    QTest::addRow("an earlier script written since")
        << true << QStringLiteral("written") << QStringLiteral("f.bat");
}

void SplitSafetyTest::fileNotCheckedAtAPieceIsKept() {
    QFETCH(bool, earlierSplit);
    QFETCH(QString, put);
    QFETCH(QString, at);
    QTemporaryDir in;
    QTemporaryDir out;
    writeTestFile(in.filePath(QStringLiteral("f")), patternBytes(30));
    const QString kept = in.filePath(QStringLiteral("kept"));
    writeTestFile(kept, "someone's file");
    const QString piece = out.filePath(at);
    const QString putFirst = piece + QStringLiteral(".new");
    if (earlierSplit)
        splitOneFile(in.filePath(QStringLiteral("f")), out.path(), QStringLiteral("10"));
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("f")));
    job.folder = out.path();

    // Put in place by a rename, so that the earlier piece's inode is never given to it; or
    // written into it, the file checked.
    const SplitResult result = job.run([&] {
        if (put == u"written")
            return writeTestFile(piece, "someone's file");
        put == u"link" ? hardLink(kept, putFirst) : writeTestFile(putFirst, "someone's file");
        QVERIFY(QFile::remove(piece) == earlierSplit);
        QVERIFY(QFile::rename(putFirst, piece));
    });

    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(result.failure->path(), piece);
    // An earlier output to remove, found changed, stops the split before anything is touched.
    const bool beside = !at.endsWith(u".3");
    QVERIFY2(result.failure->code() ==
                 (beside ? Failure::Code::ChangedAfterCheck : Failure::Code::AppearedMeanwhile),
             result.failure->what());
    QCOMPARE(readTestFile(piece), QByteArray("someone's file"));
    if (beside)
        QCOMPARE(filesIn(out.path()).size(), 7);
    QCOMPARE(readTestFile(kept), QByteArray("someone's file"));
    if (!earlierSplit) // its own pieces went; the other file's name is not the split's to remove
        QCOMPARE(filesIn(out.path()), QStringList{QStringLiteral("f.3")});
}

void SplitSafetyTest::sourceSwappedAfterTheCheckIsNotSplit_data() {
    QTest::addColumn<bool>("toItsOwnPiece");
    QTest::addRow("for a link to another file") << false;
    QTest::addRow("for a link to its own old piece") << true;
}

void SplitSafetyTest::sourceSwappedAfterTheCheckIsNotSplit() {
    QFETCH(bool, toItsOwnPiece);
    QTemporaryDir in;
    QTemporaryDir out;
    const QString source = in.filePath(QStringLiteral("f"));
    writeTestFile(source, patternBytes(30));
    writeTestFile(out.filePath(QStringLiteral("f.1")), "an old piece");
    writeTestFile(out.filePath(QStringLiteral("f.bat")), earlierScript(QStringLiteral("f"), 1));
    writeTestFile(in.filePath(QStringLiteral("other")), patternBytes(30, 2));
    SplitSetup job;
    job.add(source);
    job.folder = out.path();

    const SplitResult result = job.run([&] {
        QVERIFY(QFile::remove(source));
        QVERIFY(QFile::link(toItsOwnPiece ? out.filePath(QStringLiteral("f.1"))
                                          : in.filePath(QStringLiteral("other")),
                            source));
    });

    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(result.failure->path(), QDir::toNativeSeparators(source));
    QVERIFY2(result.failure->code() == Failure::Code::ChangedAfterCheck, result.failure->what());
    QCOMPARE(filesIn(out.path()), (QStringList{QStringLiteral("f.1"), QStringLiteral("f.bat")}));
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("f.1"))), QByteArray("an old piece"));
}

void SplitSafetyTest::namesDifferingInCaseOnAVolumeThatIgnoresIt() {
    FatMount stick;
    if (!stick.isMounted())
        QSKIP(qPrintable(stick.skipReason()));
    writeTestFile(stick.filePath(QStringLiteral("f")), patternBytes(30));
    writeTestFile(stick.filePath(QStringLiteral("F.1")), "the user's own F.1");
    SplitSetup job;
    job.add(stick.filePath(QStringLiteral("f")));
    job.add(stick.filePath(QStringLiteral("F.1")));
    job.folder = stick.path();

    QVERIFY_THROWS_EXCEPTION(Failure, job.run());

    QCOMPARE(readTestFile(stick.filePath(QStringLiteral("F.1"))), QByteArray("the user's own F.1"));
    QCOMPARE(stick.files(), (QStringList{QStringLiteral("F.1"), QStringLiteral("f")}));
}

void SplitSafetyTest::scriptCutByAFullDiskIsNotLeft() {
    FaultyFileSystem disk;
    QTemporaryDir in;
    QTemporaryDir out;
    // A name long enough that its script takes more than the space the filler leaves.
    const QString name = QString(200, u'n');
    writeTestFile(in.filePath(name), patternBytes(2000));
    SplitSetup job;
    job.add(in.filePath(name));
    job.folder = out.path();
    job.files = &disk;
    job.size = QStringLiteral("11"); // 182 pieces, a script of some 40 kB
    ProgressHooks progress;
    // The pieces are written; now the disk fills up.
    progress.onFileFinishing = [&](qint64) { disk.fail(FaultyFileSystem::Call::Write, ENOSPC); };

    const SplitResult result = job.run(progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Failed);
    QVERIFY2(result.failure->kind() == Failure::Kind::NoRoom, result.failure->what());
    const QStringList left = filesIn(out.path());
    for (const char *beside : {".bat", ".sh", ".sha256"})
        QVERIFY(!left.contains(name + QLatin1StringView(beside)));
    for (const QString &file : left)
        QVERIFY2(!file.startsWith(u'.'), qPrintable(file));
}

void SplitSafetyTest::outputThatAppearsMeanwhileIsNotReplaced_data() {
    QTest::addColumn<QString>("name");
    QTest::addRow("the script") << QStringLiteral("f.bat");
    QTest::addRow("the checksum list") << QStringLiteral("f.sha256");
}

void SplitSafetyTest::outputThatAppearsMeanwhileIsNotReplaced() {
    QFETCH(QString, name);
    QTemporaryDir in;
    QTemporaryDir out;
    writeTestFile(in.filePath(QStringLiteral("f")), patternBytes(30));
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("f")));
    job.folder = out.path();
    ProgressHooks progress;
    progress.onFileFinishing = [&](qint64) { writeTestFile(out.filePath(name), "someone's file"); };

    const SplitResult result = job.run(progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(result.failure->path(), out.filePath(name));
    QCOMPARE(readTestFile(out.filePath(name)), QByteArray("someone's file"));
    QCOMPARE(filesIn(out.path()), QStringList{name}); // nothing half-made, no script of nothing
}

void SplitSafetyTest::tooFewFilesLeftOnTheVolume() {
    FaultyFileSystem volume;
    volume.reportRoom(1'000'000, 37);
    QTemporaryDir disk;
    QTemporaryDir in;
    writeTestFile(in.filePath(QStringLiteral("many.bin")), patternBytes(1000));
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("many.bin")));
    job.folder = disk.path();
    job.files = &volume;
    job.size = QStringLiteral("11"); // 100 pieces, a script and a checksum list

    try {
        job.run();
        QFAIL("the split was started");
    } catch (const Failure &refused) {
        QCOMPARE(refused.parts().size(), 1);
        QCOMPARE(refused.parts().front().path(), QDir::toNativeSeparators(disk.path()) + u'/');
        QVERIFY2(refused.parts().front().code() == Failure::Code::SplitNeedsFiles, refused.what());
        QCOMPARE(refused.parts().front().args().constLast().number, 37);
        QCOMPARE(refused.parts().front().args().constFirst().number, 103);
    }
    QCOMPARE(filesIn(disk.path()), QStringList());
}

void SplitSafetyTest::controlCharactersAreShownNotSent() {
    const QString escape = QStringLiteral("a\x1b[2Jb\u202e.txt\nc");
    QCOMPARE(printable(escape), QStringLiteral("aU+001B[2JbU+202E.txtU+000Ac"));
    const QString message =
        refusalMessage({Failure::fromSystemError(QStringLiteral("/in/x\x1b]0;owned\x07"), ENOENT)});
    QVERIFY2(message.contains(QStringLiteral("/in/xU+001B]0;ownedU+0007: No such file")),
             qPrintable(message));
    QVERIFY(!message.contains(QChar(0x1b)));
}

void SplitSafetyTest::privateFilesStayPrivate() {
    QTemporaryDir in;
    QTemporaryDir out;
    const QString source = in.filePath(QStringLiteral("diary.txt"));
    writeTestFile(source, patternBytes(30));
    QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner));
    auto permissions = [](const QString &path) {
        return QFileInfo(path).permissions() &
               (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
    };
    splitOneFile(source, out.path(), QStringLiteral("11"));
    for (const QString &output : filesIn(out.path()))
        QVERIFY2(permissions(out.filePath(output)) == 0, qPrintable(output));

    Yes yes;
    ProgressSink progress;
    {
        const JoinPlan plan =
            planJoin(out.filePath(QStringLiteral("diary.txt.bat")), testWork(yes));
        QVERIFY(JoinRun(plan, progress, StopRequest()).run().outcome == RunOutcome::Done);
    }
    QCOMPARE(permissions(out.filePath(QStringLiteral("diary.txt"))), QFile::Permissions());

    // Joined from pieces anyone may read, over a private file: private still.
    for (const QString &output : filesIn(out.path()))
        QFile::setPermissions(out.filePath(output), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ReadGroup | QFile::ReadOther);
    QVERIFY(QFile::setPermissions(out.filePath(QStringLiteral("diary.txt")),
                                  QFile::ReadOwner | QFile::WriteOwner));
    const JoinPlan again = planJoin(out.filePath(QStringLiteral("diary.txt.bat")), testWork(yes));
    QVERIFY(JoinRun(again, progress, StopRequest()).run().outcome == RunOutcome::Done);
    QCOMPARE(permissions(out.filePath(QStringLiteral("diary.txt"))), QFile::Permissions());
}

namespace {

// A file; or a folder a killed rebuild left, holding a link to a piece or the user's piece.
enum class Leftover {
    Plain,
    Locked,
    Linked,
    Queued,
    FolderLinkingAPiece,
    FolderKeepingAPiece,
    FolderOfTheUser, // named as ours are, without our mark
};

} // namespace

Q_DECLARE_METATYPE(Leftover)

void SplitSafetyTest::onlyOurOwnLeftoversAreSwept_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Leftover>("kind");
    QTest::addColumn<bool>("old"); // not written for two days
    QTest::addColumn<bool>("swept");
    const QString ours = QStringLiteral(".tessary-00000003kq9zx.tmp");
    QTest::addRow("what a killed run left") << ours << Leftover::Plain << true << true;
    QTest::addRow("one just made, before its lock") << ours << Leftover::Plain << false << false;
    QTest::addRow("one another run holds") << ours << Leftover::Locked << true << false;
    QTest::addRow("one with a second name") << ours << Leftover::Linked << true << false;
    QTest::addRow("the very file queued to be split") << ours << Leftover::Queued << true << false;
    QTest::addRow("a rebuild's folder, linking a piece")
        << ours << Leftover::FolderLinkingAPiece << true << true;
    QTest::addRow("a rebuild's folder, keeping a piece aside")
        << ours << Leftover::FolderKeepingAPiece << true << false;
    QTest::addRow("a folder of the user's, named as ours are")
        << ours << Leftover::FolderOfTheUser << true << false;
    for (const char *name : {".tessary-notes", ".tessary-notes.txt", ".tessary-0000000000000.txt"})
        QTest::addRow("named %s, not as ours are", name)
            << QString::fromUtf8(name) << Leftover::Plain << true << false;
}

void SplitSafetyTest::onlyOurOwnLeftoversAreSwept() {
    QFETCH(QString, name);
    QFETCH(Leftover, kind);
    QFETCH(bool, old);
    QFETCH(bool, swept);
    QTemporaryDir in;
    QTemporaryDir out;
    const QString path = QDir(out.path()).filePath(name);
    const QString kept = QDir(path).filePath(QStringLiteral("kept-aside-2"));
    if (kind == Leftover::FolderLinkingAPiece || kind == Leftover::FolderKeepingAPiece ||
        kind == Leftover::FolderOfTheUser) {
        QVERIFY(QDir().mkdir(path));
        const QString mark = QDir(path).filePath(QString::fromLatin1(kPrivateFolderMark));
        if (kind != Leftover::FolderOfTheUser) {
            writeTestFile(mark, {});
            ageTwoDays(mark);
        }
        if (kind == Leftover::FolderKeepingAPiece)
            writeTestFile(kept, "someone's");
        else
            QVERIFY(QFile::link(QDir(out.path()).filePath(QStringLiteral("f.2")), kept));
        ageTwoDays(kept);
    } else {
        writeTestFile(path, "someone's");
    }
    if (kind == Leftover::Linked)
        hardLink(path, QDir(out.path()).filePath(QStringLiteral("linked")));
    const int held = ::open(QFile::encodeName(path), O_RDONLY | O_CLOEXEC);
    const auto close = qScopeGuard([held] { ::close(held); });
    QVERIFY(kind != Leftover::Locked || ::flock(held, LOCK_EX | LOCK_NB) == 0);
    if (old)
        ageTwoDays(path);
    writeTestFile(in.filePath(QStringLiteral("f")), patternBytes(30));
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("f")));
    if (kind == Leftover::Queued)
        job.add(path);
    job.folder = out.path();
    job.size = QStringLiteral("11");

    QVERIFY(job.run().outcome == RunOutcome::Done);

    QCOMPARE(QFile::exists(path), !swept);
    QCOMPARE(QFile::exists(path + QStringLiteral(".bat")), kind == Leftover::Queued);
}

void SplitSafetyTest::secondRunWritingTheSameOutputsIsRefused() {
    QTemporaryDir in;
    QTemporaryDir out;
    writeTestFile(in.filePath(QStringLiteral("f")), patternBytes(30));
    SplitSetup job;
    job.add(in.filePath(QStringLiteral("f")));
    job.folder = out.path();
    job.size = QStringLiteral("11");
    Yes yes;
    QVERIFY(job.run().outcome == RunOutcome::Done);
    // A second is refused while the first holds its plan, and its clean-up takes nothing of
    // the first's.
    const SplitResult first = job.run([&] {
        try {
            job.run();
            QFAIL("a second split of f ran beside the first");
        } catch (const Failure &refused) {
            QVERIFY2(refused.parts().front().code() == Failure::Code::AnotherRunSplits,
                     refused.what());
        }
        try {
            planJoin(out.filePath(QStringLiteral("f.1")), testWork(yes));
            QFAIL("a join of f ran beside its split");
        } catch (const Failure &error) {
            QVERIFY2(error.code() == Failure::Code::AnotherRunJoins, error.what());
        }
    });

    QVERIFY(first.outcome == RunOutcome::Done);
    QCOMPARE(
        filesIn(out.path()),
        (QStringList{QStringLiteral("f.1"), QStringLiteral("f.2"), QStringLiteral("f.3"),
                     QStringLiteral("f.bat"), QStringLiteral("f.sh"), QStringLiteral("f.sha256")}));
    QVERIFY(job.run().outcome == RunOutcome::Done); // once the first is over
    QCOMPARE(filesIn(out.path()).size(), 6);
}

using Change = std::function<void(QFile &source)>;
Q_DECLARE_METATYPE(Change)

void SplitSafetyTest::sourceThatChangesWhileItIsSplitFails_data() {
    QTest::addColumn<Change>("change");
    QTest::addRow("it grows") << Change([](QFile &source) {
        source.seek(source.size());
        source.write("more");
    });
    QTest::addRow("it shrinks") << Change([](QFile &source) { source.resize(12); });
    QTest::addRow("it changes in place, keeping its length")
        << Change([](QFile &source) { source.write(QByteArray(30, 'x')); });
}

void SplitSafetyTest::sourceThatChangesWhileItIsSplitFails() {
    QFETCH(Change, change);
    QTemporaryDir in;
    QTemporaryDir out;
    const QString path = in.filePath(QStringLiteral("download.iso"));
    writeTestFile(path, patternBytes(30));
    ageTwoDays(path); // a change now differs in its time, however coarse the clock
    SplitSetup job;
    job.add(path);
    job.folder = out.path();
    job.size = QStringLiteral("11");
    ProgressHooks progress;
    std::once_flag changed;                // bytes are told from several threads at once
    progress.onBytesCopied = [&](qint64) { // a download client, rsync --inplace
        std::call_once(changed, [&] {
            QFile source(path);
            QVERIFY(source.open(QIODevice::ReadWrite));
            change(source);
        });
    };

    const SplitResult result = job.run(progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(result.failure->path(), path);
    QVERIFY2(result.failure->code() == Failure::Code::ChangedWhileSplit, result.failure->what());
    QCOMPARE(filesIn(out.path()), QStringList());
}

void SplitSafetyTest::moveWithoutReplacingFallsBackToALink_data() {
    QTest::addColumn<bool>("taken");
    QTest::addRow("a free name takes the file") << false;
    QTest::addRow("a name taken meanwhile is not replaced") << true;
}

void SplitSafetyTest::moveWithoutReplacingFallsBackToALink() {
    QFETCH(bool, taken);
    QTemporaryDir out;
    writeTestFile(out.filePath(QStringLiteral(".written")), "ours");
    if (taken)
        writeTestFile(out.filePath(QStringLiteral("f.bat")), "someone's");
    const OutputFolder folder(out.path());

    try {
        QVERIFY(folder.moveByLink(".written", "f.bat"));
        QVERIFY(!taken);
    } catch (const Failure &error) {
        QVERIFY2(taken, error.what());
        QVERIFY(error.code() == Failure::Code::AppearedMeanwhile);
    }

    QCOMPARE(readTestFile(out.filePath(QStringLiteral("f.bat"))),
             taken ? QByteArray("someone's") : QByteArray("ours"));
    QCOMPARE(filesIn(out.path()).size(), taken ? 2 : 1);
}

void SplitSafetyTest::syncfsIsTrustedOnlyWhereItReachesTheStorage_data() {
    QTest::addColumn<QString>("volume");
    QTest::addColumn<bool>("trusted");
    QTest::addRow("a disk's file system") << QStringLiteral("disk") << true;
    QTest::addRow("tmpfs, which holds its own") << QStringLiteral("tmpfs") << true;
    QTest::addRow("FAT through FUSE") << QStringLiteral("fuse") << false;
}

void SplitSafetyTest::syncfsIsTrustedOnlyWhereItReachesTheStorage() {
    QFETCH(QString, volume);
    QFETCH(bool, trusted);
    QTemporaryDir disk;
    TmpfsMount tmpfs(QStringLiteral("64k"));
    FatMount fuse;
    if ((volume == u"tmpfs" && !tmpfs.isMounted()) || (volume == u"fuse" && !fuse.isMounted()))
        QSKIP("needs root to mount the volume");
    const QString path = volume == u"disk"    ? disk.path()
                         : volume == u"tmpfs" ? tmpfs.path()
                                              : fuse.path();

    QCOMPARE(OutputFolder(path).capacity().flushesWhole, trusted);
}

QTEST_GUILESS_MAIN(SplitSafetyTest)
#include "tst_splitsafety.moc"
