#include "FaultyFileSystem.h"
#include "OutputFolder.h"
#include "ScriptReplay.h"
#include "SizeArgument.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "messages/RefusalMessage.h"
#include "run/Saturating.h"
#include "split/SplitPlanner.h"
#include "words/FailureText.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A source folder and an output folder, and the queue the engine is given.
// Makes the file at path one this process may not write: read-only, or for root, who may
// write anything else, immutable (chattr +i). Returns whether it made it immutable.
bool makeUnwritable(const QString &path) {
    if (::geteuid() != 0) {
        QFile::setPermissions(path, QFile::ReadOwner);
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    int flags = 0;
    const bool made = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                      ::ioctl(fd, FS_IOC_SETFLAGS, &(flags |= FS_IMMUTABLE_FL)) == 0;
    if (fd >= 0)
        ::close(fd);
    return made;
}

void makeWritable(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    if (fd >= 0)
        ::close(fd);
}

struct Scene {
    QTemporaryDir in;
    QTemporaryDir out;
    SplitSetup job;
    QList<QByteArray> rawPaths; // files whose names are not UTF-8, which QTemporaryDir leaves
    QStringList immutable;      // files QTemporaryDir could not remove

    Scene() { job.folder = out.path(); }
    ~Scene() {
        for (const QByteArray &path : rawPaths)
            ::unlink(path.constData());
        for (const QString &path : immutable)
            makeWritable(path);
    }
    Scene(const Scene &) = delete;
    Scene &operator=(const Scene &) = delete;
    QString inPath(const QString &name) const { return in.filePath(name); }
    QString outPath(const QString &name) const { return out.filePath(name); }
    // Makes a source of length bytes and queues it.
    QString source(const QString &path, qint64 length = 10) {
        QDir().mkpath(QFileInfo(path).path());
        writeTestFile(path, patternBytes(length));
        job.add(path);
        return path;
    }
};

using Setup = std::function<QString(Scene &)>; // returns the path that must be refused

// Everything under root, each path with what it is and holds, links not followed.
QMap<QString, QByteArray> snapshot(const QString &root) {
    QMap<QString, QByteArray> seen;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        if (entry.isSymLink())
            seen.insert(entry.filePath(), "link to " + QFile::encodeName(entry.symLinkTarget()));
        else if (entry.isDir())
            seen.insert(entry.filePath(), "folder");
        else if (entry.isFile())
            seen.insert(entry.filePath(), "file " + readTestFile(entry.filePath()));
        else
            seen.insert(entry.filePath(), "special");
    }
    return seen;
}

// The restore script for macOS and Linux that the version before wrote for x, of 20 bytes in
// pieces of 11.
const QString kEarlierPosixScript = QStringLiteral(TESSARY_TEST_DATA "/earlier-x.sh");

void makeFifo(const QString &path) {
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
}

void hardLink(const QString &existing, const QString &link) {
    QVERIFY(::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) ==
            0);
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(std::function<void()>)

class SplitCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedBeforeAnyByteIsWritten_data();
    void refusedBeforeAnyByteIsWritten();
    void messageNamesEveryRefusedEntry();
    void tooLittleFreeSpace();
    void sameFileQueuedTwiceStillSplits();
    void filesLongerOrShorterThanTheySaySplitWhole_data();
    void filesLongerOrShorterThanTheySaySplitWhole();
    void latePieceIsCheckedAsTheOthersAre_data();
    void latePieceIsCheckedAsTheOthersAre();
    void interruptedResplitLeavesNoScript();
    void planNamesCountsAndBytes();
    void pieceLengthsBySizeOrCount_data();
    void pieceLengthsBySizeOrCount();
    void alignedPiecesTakeWholeBlocks_data();
    void alignedPiecesTakeWholeBlocks();
    void namesWindowsTellsApartStandBeside_data();
    void namesWindowsTellsApartStandBeside();
    void stalePiecesOfALongerSplitGo_data();
    void stalePiecesOfALongerSplitGo();
    void noEmptyPiecePastTheRealEnd();
    void failuresOfAnyKindAreReported_data();
    void failuresOfAnyKindAreReported();
    void countsSaturate_data();
    void countsSaturate();
    void pieceLargerThanTheVolumeHoldsIsRefused();
};

void SplitCheckTest::refusedBeforeAnyByteIsWritten_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Failure::Code>("code");
    QTest::addColumn<int>("error"); // the system's, for Code::System

    using Code = Failure::Code;
    auto row = [](const char *name, Code code, const Setup &setup, int error = 0) {
        QTest::newRow(name) << setup << code << error;
    };
    // Sources that are queued where outputs go.
    row("queued file named like a piece", Code::OutputQueued, [](Scene &s) {
        s.job.folder = s.in.path();
        QString x = s.source(s.inPath(QStringLiteral("x")));
        s.source(s.inPath(QStringLiteral("x.1")));
        return x;
    });
    row("queued file named like a script", Code::OutputQueued, [](Scene &s) {
        s.job.folder = s.in.path();
        QString x = s.source(s.inPath(QStringLiteral("x")));
        s.source(s.inPath(QStringLiteral("x.bat")));
        return x;
    });
    // Names compared as Windows compares them, on this volume that tells case apart too.
    row("queued file named like a piece in another case", Code::OutputQueuedAs, [](Scene &s) {
        s.job.folder = s.in.path();
        QString f = s.source(s.inPath(QStringLiteral("f")));
        s.source(s.inPath(QStringLiteral("F.1")));
        return f;
    });
    row("queued file named like the script in another case", Code::OutputQueuedAs, [](Scene &s) {
        s.job.folder = s.in.path();
        QString f = s.source(s.inPath(QStringLiteral("f")));
        s.source(s.inPath(QStringLiteral("F.BAT")));
        return f;
    });
    row("someone's piece in another case", Code::OutputCaseTwin, [](Scene &s) {
        writeTestFile(s.outPath(QStringLiteral("F.1")), "theirs");
        return s.source(s.inPath(QStringLiteral("f")));
    });
    row("someone's piece in another case beside an old one of ours", Code::OutputCaseTwin,
        [](Scene &s) {
            writeTestFile(s.outPath(QStringLiteral("f.1")), "ours, from an earlier split");
            writeTestFile(s.outPath(QStringLiteral("F.1")), "theirs");
            return s.source(s.inPath(QStringLiteral("f")));
        });
    row("someone's piece in another case past the last", Code::OutputCaseTwin, [](Scene &s) {
        writeTestFile(s.outPath(QStringLiteral("F.3")), "theirs");
        return s.source(s.inPath(QStringLiteral("f")));
    });
    row("someone's checksum list in another case", Code::OutputCaseTwin, [](Scene &s) {
        writeTestFile(s.outPath(QStringLiteral("X.SHA256")), "theirs");
        return s.source(s.inPath(QStringLiteral("x")));
    });
    row("someone's recovery file in another case", Code::OutputCaseTwin, [](Scene &s) {
        s.job.recovery = {1, false};
        writeTestFile(s.outPath(QStringLiteral("X.Par2")), "theirs");
        return s.source(s.inPath(QStringLiteral("x")));
    });
    row("same name once case is folded in full", Code::SameNamesAs, [](Scene &s) {
        s.source(s.inPath(QStringLiteral("a/Stra\u00dfe.txt")));
        return s.source(s.inPath(QStringLiteral("b/STRASSE.TXT")), 20);
    });
    row("same name from two folders", Code::SameNamesAs, [](Scene &s) {
        s.source(s.inPath(QStringLiteral("a/report.doc")));
        return s.source(s.inPath(QStringLiteral("b/report.doc")), 20);
    });
    row("same name in another case", Code::SameNamesAs, [](Scene &s) {
        s.source(s.inPath(QStringLiteral("a/Report.doc")));
        return s.source(s.inPath(QStringLiteral("b/REPORT.DOC")), 20);
    });
    row("symbolic link to the source at a piece", Code::OutputSymbolicLink, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        QFile::link(x, s.outPath(QStringLiteral("x.1")));
        return x;
    });
    row("hard link of the source at a piece", Code::OutputHardLinkOf, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")), 25);
        hardLink(x, s.outPath(QStringLiteral("x.3")));
        return x;
    });
    row("symbolic link to the source at the script", Code::OutputSymbolicLink, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        QFile::link(x, s.outPath(QStringLiteral("x.bat")));
        return x;
    });
    // The checksum list is checked where the script is.
    row("queued file named like the checksum list", Code::OutputQueued, [](Scene &s) {
        s.job.folder = s.in.path();
        QString x = s.source(s.inPath(QStringLiteral("x")));
        s.source(s.inPath(QStringLiteral("x.sha256")));
        return x;
    });
    row("symbolic link to the source at the checksum list", Code::OutputSymbolicLink, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        QFile::link(x, s.outPath(QStringLiteral("x.sha256")));
        return x;
    });
    row("hard link of the source at the checksum list", Code::OutputHardLinkOf, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        hardLink(x, s.outPath(QStringLiteral("x.sha256")));
        return x;
    });
    row("FIFO at the checksum list", Code::OutputNotRegular, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        makeFifo(s.outPath(QStringLiteral("x.sha256")));
        return x;
    });
    row("name too long for its checksum list", Code::NameTooLong, [](Scene &s) {
        // The script's name (+4) and the only piece's (+2) fit; the list's (+7) does not.
        return s.source(s.inPath(QString(249, u'n')), 5);
    });
    row("hard link of the source at the script", Code::OutputHardLinkOf, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        hardLink(x, s.outPath(QStringLiteral("x.bat")));
        return x;
    });
    // What else may stand at an output's path.
    row("FIFO at a piece", Code::OutputNotRegular, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")), 25);
        makeFifo(s.outPath(QStringLiteral("x.2")));
        return x;
    });
    row("folder at a piece", Code::OutputNotRegular, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        QDir().mkpath(s.outPath(QStringLiteral("x.1")));
        return x;
    });
    row("dangling link at a piece", Code::OutputSymbolicLink, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        QFile::link(s.inPath(QStringLiteral("nowhere")), s.outPath(QStringLiteral("x.1")));
        return x;
    });
    row("someone's file with other names at a piece", Code::OutputOtherNames, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        writeTestFile(s.inPath(QStringLiteral("kept")), "not a piece");
        hardLink(s.inPath(QStringLiteral("kept")), s.outPath(QStringLiteral("x.1")));
        return x;
    });
    // Pieces of an earlier, longer split are removed, so they are checked like every output.
    row("someone's piece this process may not write", Code::OutputNotWritable, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")));
        writeTestFile(s.outPath(QStringLiteral("x.1")), "read-only");
        if (makeUnwritable(s.outPath(QStringLiteral("x.1"))))
            s.immutable << s.outPath(QStringLiteral("x.1"));
        return x;
    });
    row("a restore script for macOS and Linux of the version before, changed since",
        Code::OutputNotOurs, [](Scene &s) {
            writeTestFile(s.outPath(QStringLiteral("x.sh")),
                          readTestFile(kEarlierPosixScript).replace("exit 2", "exit 3"));
            return s.source(s.inPath(QStringLiteral("x")));
        });
    row("symbolic link among the stale pieces", Code::OutputSymbolicLink, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")), 10);
        writeTestFile(s.outPath(QStringLiteral("x.bat")), earlierScript(QStringLiteral("x"), 4));
        writeTestFile(s.outPath(QStringLiteral("x.3")), "old piece");
        QFile::link(x, s.outPath(QStringLiteral("x.4")));
        return x;
    });
    row("someone's file with other names among the stale pieces", Code::OutputOtherNames,
        [](Scene &s) {
            QString x = s.source(s.inPath(QStringLiteral("x")), 10);
            writeTestFile(s.inPath(QStringLiteral("kept")), "not a piece");
            hardLink(s.inPath(QStringLiteral("kept")), s.outPath(QStringLiteral("x.3")));
            return x;
        });
    row("rotated logs at the pieces' names", Code::PieceNotNamedBeside, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")), 25);
        for (const char *log : {"x.1", "x.2", "x.3", "x.4"})
            writeTestFile(s.outPath(QString::fromLatin1(log)), "a rotated log");
        return x;
    });
    row("rotated logs with a checksum list of sha256sum's", Code::OutputNotOurs, [](Scene &s) {
        QString x = s.source(s.inPath(QStringLiteral("x")), 25);
        QByteArray list = sha256sumLine(readTestFile(x), "x");
        for (const char *log : {"x.1", "x.2"}) {
            writeTestFile(s.outPath(QString::fromLatin1(log)), QByteArray("rotated log ") + log);
            list += sha256sumLine(QByteArray("rotated log ") + log, log);
        }
        writeTestFile(s.outPath(QStringLiteral("x.sha256")), list);
        return x;
    });
    row("queued file among the stale pieces", Code::OutputQueued, [](Scene &s) {
        s.job.folder = s.in.path();
        QString x = s.source(s.inPath(QStringLiteral("x")), 10);
        s.source(s.inPath(QStringLiteral("x.3")));
        return x;
    });
    // Names that cannot travel to Windows, or into a script.
    for (const char *name :
         {"a*b?.txt", "what?.txt", "back\\slash.txt", "a:b", "a<b", "a>b", "a|b"}) {
        const Code code = QByteArray(name).contains('*') || QByteArray(name).contains('?')
                              ? Code::NameHoldsWildcard
                              : Code::NameHoldsForbidden;
        row(name, code, [name](Scene &s) { return s.source(s.inPath(QString::fromUtf8(name))); });
    }
    for (const char *name :
         {"con", "con.txt", "CON.tar.gz", "Nul", "aux.doc", "prn", "com1", "LPT9.log", "COM0",
          "lpt0.txt", "COM\u00b9", "com\u00b2.log", "LPT\u00b3", "CONIN$", "conout$.txt"})
        row(name, Code::NameIsDevice,
            [name](Scene &s) { return s.source(s.inPath(QString::fromUtf8(name))); });
    row("double quote", Code::NameHoldsDoubleQuote,
        [](Scene &s) { return s.source(s.inPath(QStringLiteral("say \"hi\".txt"))); });
    row("tab", Code::NameHoldsControl,
        [](Scene &s) { return s.source(s.inPath(QStringLiteral("tab\t.txt"))); });
    row("line feed", Code::NameHoldsControl,
        [](Scene &s) { return s.source(s.inPath(QStringLiteral("two\nlines"))); });
    row("delete", Code::NameHoldsControl,
        [](Scene &s) { return s.source(s.inPath(QStringLiteral("del\x7f.txt"))); });
    row("trailing blank", Code::NameEndsInBlank,
        [](Scene &s) { return s.source(s.inPath(QStringLiteral("notes "))); });
    row("trailing dot", Code::NameEndsInDot,
        [](Scene &s) { return s.source(s.inPath(QStringLiteral("notes."))); });
    row("bad name after a good one", Code::NameHoldsForbidden, [](Scene &s) {
        s.source(s.inPath(QStringLiteral("good.txt")), 300);
        return s.source(s.inPath(QStringLiteral("bad|name.txt")));
    });
    row("name too long for its last piece", Code::NameTooLong, [](Scene &s) {
        // The script's name (+4) fits; that of piece 11112 (+6) does not.
        s.source(s.inPath(QStringLiteral("fits.bin")), 300);
        return s.source(s.inPath(QString(246, u'n') + QStringLiteral(".bin")), 100'000);
    });
    // Sources that cannot be read whole.
    row(
        "missing source", Code::System,
        [](Scene &s) {
            s.job.add(s.inPath(QStringLiteral("gone")));
            return s.inPath(QStringLiteral("gone"));
        },
        ENOENT);
    row("folder queued", Code::NotRegularFileKind, [](Scene &s) {
        QDir().mkpath(s.inPath(QStringLiteral("sub")));
        s.job.add(s.inPath(QStringLiteral("sub")));
        return s.inPath(QStringLiteral("sub"));
    });
    row("FIFO queued", Code::NotRegularFileKind, [](Scene &s) {
        makeFifo(s.inPath(QStringLiteral("pipe")));
        s.job.add(s.inPath(QStringLiteral("pipe")));
        return s.inPath(QStringLiteral("pipe"));
    });
    row("name not valid UTF-8", Code::NameNotUtf8, [](Scene &s) {
        const QByteArray raw = QFile::encodeName(s.in.path()) + "/bad\xff.txt";
        ::close(::open(raw.constData(), O_CREAT | O_WRONLY, 0600));
        s.rawPaths.append(raw);
        // How such a name arrives: its bad byte replaced on decoding.
        const QString decoded = QString::fromUtf8(raw);
        s.job.add(decoded);
        return QDir::toNativeSeparators(decoded);
    });
    row(
        "output folder missing", Code::System,
        [](Scene &s) {
            s.source(s.inPath(QStringLiteral("x")));
            s.job.folder = s.outPath(QStringLiteral("not-made"));
            return s.job.folder;
        },
        ENOENT);
}

void SplitCheckTest::refusedBeforeAnyByteIsWritten() {
    QFETCH(Setup, setup);
    QFETCH(Failure::Code, code);
    QFETCH(int, error);
    Scene scene;
    const QString refusedPath = setup(scene);
    const QMap<QString, QByteArray> inBefore = snapshot(scene.in.path());
    const QMap<QString, QByteArray> outBefore = snapshot(scene.out.path());
    scene.job.size = QStringLiteral("10");

    try {
        scene.job.run();
        QFAIL("the split was started");
    } catch (const Failure &refused) {
        QCOMPARE(refused.parts().size(), 1);
        const Failure &refusal = refused.parts().front();
        QCOMPARE(QDir::cleanPath(refusal.path()), QDir::cleanPath(refusedPath));
        QVERIFY2(refusal.code() == code, refusal.what());
        QCOMPARE(refusal.systemError(), error);
    }
    QCOMPARE(snapshot(scene.in.path()), inBefore);
    QCOMPARE(snapshot(scene.out.path()), outBefore);
}

void SplitCheckTest::messageNamesEveryRefusedEntry() {
    Scene scene;
    // Refused for what was found at an output, by their names, and not at all; listed in the
    // order of the queue, whatever the order of the checks.
    const QString linked = scene.source(scene.inPath(QStringLiteral("linked.bin")));
    QFile::link(linked, scene.outPath(QStringLiteral("linked.bin.1")));
    const QString bad = scene.source(scene.inPath(QStringLiteral("a?.txt")));
    scene.source(scene.inPath(QStringLiteral("fine.txt")));
    const QString device = scene.source(scene.inPath(QStringLiteral("aux")));
    scene.job.size = QStringLiteral("10");

    try {
        scene.job.run();
        QFAIL("the split was started");
    } catch (const Failure &refused) {
        const QString message = refusalMessage(refused.parts());
        QVERIFY(message.startsWith(QStringLiteral("The split was not started")));
        QVERIFY(message.endsWith(QStringLiteral("Nothing was written.")));
        const QStringList lines{
            QDir::toNativeSeparators(linked) + QStringLiteral(": its piece "),
            QDir::toNativeSeparators(bad) + QStringLiteral(": its name holds \"?\""),
            QDir::toNativeSeparators(device) + QStringLiteral(": \"aux\" is a device name")};
        qsizetype previous = -1;
        for (const QString &line : lines) {
            const qsizetype at = message.indexOf(line);
            QVERIFY2(at > previous, qPrintable(line + QStringLiteral(" in\n") + message));
            previous = at;
        }
        QVERIFY(!message.contains(QStringLiteral("fine.txt")));
        // A shortened list says how many it leaves out.
        QVERIFY(refusalMessage(refused.parts(), 1).contains(QStringLiteral("... and 2 more.")));
    }
    QCOMPARE(filesIn(scene.out.path()), QStringList{QStringLiteral("linked.bin.1")});
}

void SplitCheckTest::tooLittleFreeSpace() {
    FaultyFileSystem small;
    small.reportRoom(100'000, 1000);
    QTemporaryDir disk;
    Scene scene;
    scene.job.folder = disk.path();
    scene.job.files = &small;
    scene.source(scene.inPath(QStringLiteral("small.bin")), 100'000);
    scene.source(scene.inPath(QStringLiteral("large.bin")), 200'000);
    // A stale piece that the split would replace counts as room.
    writeTestFile(disk.filePath(QStringLiteral("small.bin.1")), QByteArray(60'000, 's'));
    writeTestFile(disk.filePath(QStringLiteral("small.bin.bat")),
                  earlierScript(QStringLiteral("small.bin"), 1));
    scene.job.size = QStringLiteral("1000000");

    try {
        scene.job.run();
        QFAIL("the split was started");
    } catch (const Failure &refused) {
        QCOMPARE(refused.parts().size(), 1);
        QCOMPARE(QDir::cleanPath(refused.parts().front().path()), QDir::cleanPath(disk.path()));
        QVERIFY2(refused.parts().front().code() == Failure::Code::SplitNeedsSpace,
                 refused.parts().front().what());
    }
    QCOMPARE(filesIn(disk.path()),
             (QStringList{QStringLiteral("small.bin.1"), QStringLiteral("small.bin.bat")}));

    // Without the larger file the same folder has room, counting the piece it replaces.
    scene.job.queue.removeLast();
    QVERIFY(scene.job.run().outcome == RunOutcome::Done);
    QCOMPARE(readTestFile(disk.filePath(QStringLiteral("small.bin.1"))), patternBytes(100'000));
}

void SplitCheckTest::sameFileQueuedTwiceStillSplits() {
    Scene scene;
    const QString x = scene.source(scene.inPath(QStringLiteral("twice.bin")), 25);
    scene.job.add(x);
    scene.job.size = QStringLiteral("10");

    QVERIFY(scene.job.run().outcome == RunOutcome::Done);

    const ScriptReplay replay = replayScript(scene.out.path(), QStringLiteral("twice.bin.bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QCOMPARE(replay.joined.value(QStringLiteral("twice.bin")), patternBytes(25));
    QCOMPARE(filesIn(scene.out.path()).size(), 6);
}

void SplitCheckTest::filesLongerOrShorterThanTheySaySplitWhole_data() {
    QTest::addColumn<QString>("path");
    // /proc reports a size of 0 for files that hold more; sysfs reports a page for a few bytes.
    // Both are files that no other test changes while this one runs.
    QTest::addRow("/proc file that reports no size") << QStringLiteral("/proc/version");
    QTest::addRow("/sys file that reports more than it holds")
        << QStringLiteral("/sys/devices/system/cpu/possible");
}

void SplitCheckTest::filesLongerOrShorterThanTheySaySplitWhole() {
    QFETCH(QString, path);
    QFile whole(path);
    if (!whole.open(QIODevice::ReadOnly))
        QSKIP(qPrintable(path + QStringLiteral(" cannot be read here")));
    const QByteArray expected = whole.readAll();
    if (QFileInfo(path).size() == expected.size())
        QSKIP(qPrintable(path + QStringLiteral(" reports its length here")));
    Scene scene;
    scene.job.add(path);
    scene.job.size = QStringLiteral("4");

    QVERIFY(scene.job.run().outcome == RunOutcome::Done);

    const QString name = QFileInfo(path).fileName();
    const ScriptReplay replay = replayScript(scene.out.path(), name + QStringLiteral(".bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QCOMPARE(replay.joined.value(name), expected);
    // Pieces of 3 bytes, the last one not empty, and nothing past it.
    const qint64 pieces = (expected.size() + 2) / 3;
    QCOMPARE(filesIn(scene.out.path()).size(), pieces + 3);
}

void SplitCheckTest::latePieceIsCheckedAsTheOthersAre_data() {
    QTest::addColumn<QString>("there");
    QTest::addColumn<int>("code"); // -1: the split is done
    QTest::addRow("a file queued to be split")
        << QStringLiteral("queued") << int(Failure::Code::LatePieceQueued);
    QTest::addRow("a file no earlier split made")
        << QStringLiteral("user's") << int(Failure::Code::PieceNotNamedBeside);
    QTest::addRow("an earlier split's piece, past a gap") << QStringLiteral("earlier") << -1;
}

void SplitCheckTest::latePieceIsCheckedAsTheOthersAre() {
    // /proc reports no length, so only its first piece is checked before the run; a file at its
    // third is written only where it is a piece of it.
    QFETCH(QString, there);
    QFETCH(int, code);
    Scene scene;
    scene.job.add(QStringLiteral("/proc/version"));
    scene.job.size = QStringLiteral("4");
    const QString third = scene.outPath(QStringLiteral("version.3"));
    if (there == u"queued")
        scene.source(third);
    if (there == u"user's")
        writeTestFile(third, patternBytes(10));
    if (there == u"earlier") {
        QVERIFY(scene.job.run().outcome == RunOutcome::Done);
        QVERIFY(QFile::remove(scene.outPath(QStringLiteral("version.2"))));
    }

    const SplitResult result = scene.job.run();

    if (code < 0) {
        QVERIFY2(result.outcome == RunOutcome::Done, result.failure ? result.failure->what() : "");
        QCOMPARE(readTestFile(third), readTestFile(QStringLiteral("/proc/version")).mid(6, 3));
        return;
    }
    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(result.failure->path(), there == u"queued" ? third : QStringLiteral("/proc/version"));
    QVERIFY2(int(result.failure->code()) == code, result.failure->what());
    QCOMPARE(filesIn(scene.out.path()), QStringList{QStringLiteral("version.3")});
    QCOMPARE(readTestFile(third), patternBytes(10));
}

void SplitCheckTest::interruptedResplitLeavesNoScript() {
    Scene scene;
    const QString x = scene.source(scene.inPath(QStringLiteral("x")), 50);
    scene.job.size = QStringLiteral("11");
    QVERIFY(scene.job.run().outcome == RunOutcome::Done);
    QVERIFY(QFile::exists(scene.outPath(QStringLiteral("x.bat"))));

    // The file changes and is split again; piece 3 cannot be written this time.
    writeTestFile(x, patternBytes(50, 7));
    ProgressHooks progress;
    progress.onFileStarted = [&](qint64) { // after the check, before the first piece
        QFile::remove(scene.outPath(QStringLiteral("x.3")));
        makeFifo(scene.outPath(QStringLiteral("x.3")));
    };
    QVERIFY(scene.job.run(progress, StopRequest()).outcome == RunOutcome::Failed);

    // Nothing half-made: neither a script nor pieces, new or old, of x; the FIFO, not a piece,
    // is not the split's to remove.
    QCOMPARE(filesIn(scene.out.path()), QStringList());
    QVERIFY(QFileInfo(scene.outPath(QStringLiteral("x.3"))).exists());
}

void SplitCheckTest::planNamesCountsAndBytes() {
    Scene scene;
    scene.source(scene.inPath(QStringLiteral("a.bin")), 250);
    scene.source(scene.inPath(QStringLiteral("empty")), 0);
    scene.source(scene.inPath(QStringLiteral("résumé.txt")), 99);
    writeTestFile(scene.outPath(QStringLiteral("a.bin.4")), "old");
    writeTestFile(scene.outPath(QStringLiteral("a.bin.bat")),
                  earlierScript(QStringLiteral("a.bin"), 4));
    scene.job.size = QStringLiteral("100");

    auto plan = std::make_unique<SplitPlan>(planSplit(scene.job.request(), testWork()));

    QCOMPARE(plan->files[0].pieceLength, 99);
    QCOMPARE(plan->files.size(), 3);
    QCOMPARE(plan->totalBytes(), 349);
    QCOMPARE(plan->folder->path(), QDir::toNativeSeparators(scene.out.path()) + u'/');
    const PlannedFile &a = plan->files[0];
    QCOMPARE(a.queued, scene.job.queue[0]);
    QCOMPARE((QList<qint64>{a.bytes, a.pieces, a.stalePieces}), (QList<qint64>{250, 3, 1}));
    QCOMPARE(a.names.piece(3), QStringLiteral("a.bin.3"));
    QCOMPARE(a.names.pieceOnDisk(3), QByteArray("a.bin.3"));
    QCOMPARE(a.names.script(), QStringLiteral("a.bin.bat"));
    QCOMPARE((QList<qint64>{plan->files[1].bytes, plan->files[1].pieces}), (QList<qint64>{0, 1}));
    QCOMPARE(plan->files[2].names.scriptOnDisk(), QByteArray("r\xc3\xa9sum\xc3\xa9.txt.bat"));
    QCOMPARE(plan->files[2].pieces, 1);
    // Planning writes nothing but a hidden lock of each file's outputs, which goes with it.
    const QStringList earlier{QStringLiteral("a.bin.4"), QStringLiteral("a.bin.bat")};
    QCOMPARE(QDir(scene.out.path()).entryList(QDir::Files), earlier);
    QCOMPARE(filesIn(scene.out.path()).size(), 5);
    plan.reset();
    QCOMPARE(filesIn(scene.out.path()), earlier);
}

void SplitCheckTest::pieceLengthsBySizeOrCount_data() {
    QTest::addColumn<qint64>("bytes");          // of the source, which takes no room
    QTest::addColumn<qint64>("pieceLength");    // asked for, or
    QTest::addColumn<qint64>("pieceCount");     // above 0, instead
    QTest::addColumn<QList<qint64>>("planned"); // bytes in a piece and pieces; empty: refused
    QTest::addRow("9 GB for a FAT32 stick")
        << qint64(9'000'000'000) << std::get<qint64>(SizeArgument::pieceLength(u"fat32"_s))
        << qint64(0) << QList<qint64>{4'294'963'200, 3};
    QTest::addRow("25 bytes in 5 pieces")
        << qint64(25) << qint64(0) << qint64(5) << QList<qint64>{5, 5};
    QTest::addRow("26 bytes in 5 pieces, the last shorter")
        << qint64(26) << qint64(0) << qint64(5) << QList<qint64>{6, 5};
    QTest::addRow("an empty file in 1 piece")
        << qint64(0) << qint64(0) << qint64(1) << QList<qint64>{1, 1};
    QTest::addRow("fewer bytes than pieces")
        << qint64(3) << qint64(0) << qint64(4) << QList<qint64>();
    QTest::addRow("too few bytes for pieces of one length")
        << qint64(9) << qint64(0) << qint64(4) << QList<qint64>();
}

void SplitCheckTest::pieceLengthsBySizeOrCount() {
    QFETCH(qint64, bytes);
    QFETCH(qint64, pieceLength);
    QFETCH(qint64, pieceCount);
    QFETCH(QList<qint64>, planned);
    Scene scene;
    const QString path = scene.inPath(QStringLiteral("video.mkv"));
    QFile sparse(path);
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(bytes));
    sparse.close();
    scene.job.add(path);
    SplitRequest request = scene.job.request();
    request.pieceLength = pieceLength;
    request.pieceCount = pieceCount;

    try {
        const SplitPlan plan = planSplit(request, testWork());
        QCOMPARE((QList<qint64>{plan.files[0].pieceLength, plan.files[0].pieces}), planned);
    } catch (const Failure &refused) {
        if (!planned.isEmpty() && refused.parts().size() == 1 &&
            refused.parts().front().kind() == Failure::Kind::NoRoom)
            QSKIP("this volume has no room for the pieces of the sparse file");
        QVERIFY2(planned.isEmpty(), refused.what());
    }
}

void SplitCheckTest::alignedPiecesTakeWholeBlocks_data() {
    QTest::addColumn<qint64>("blockSize");   // as the output volume reports it
    QTest::addColumn<qint64>("pieceLength"); // asked for, or
    QTest::addColumn<qint64>("pieceCount");  // above 0, instead
    QTest::addColumn<bool>("sharing");       // whether the volume lets files share blocks
    QTest::addColumn<qint64>("room");        // free bytes it reports; 0: what it has
    QTest::addColumn<qint64>("planned");     // bytes in a piece; 0: refused
    QTest::addColumn<Failure::Code>("refusal");
    const auto unrefused = Failure::Code::System;
    QTest::addRow("100M rounded down to 64 KiB blocks")
        << qint64(65'536) << qint64(99'999'999) << qint64(0) << false << qint64(0)
        << qint64(99'942'400) << unrefused;
    QTest::addRow("less than one block, refused")
        << qint64(4096) << qint64(4095) << qint64(0) << false << qint64(0) << qint64(0)
        << Failure::Code::PieceUnderBlock;
    QTest::addRow("a count of pieces, not rounded")
        << qint64(4096) << qint64(0) << qint64(5) << false << qint64(0) << qint64(20'000)
        << unrefused;
    // Pieces that share the source's blocks take no room of their own.
    QTest::addRow("less room than the file, on a volume that shares blocks")
        << qint64(4096) << qint64(40'960) << qint64(0) << true << qint64(50'000) << qint64(40'960)
        << unrefused;
    QTest::addRow("less room than the file, refused where blocks are not shared")
        << qint64(4096) << qint64(40'960) << qint64(0) << false << qint64(50'000) << qint64(0)
        << Failure::Code::SplitNeedsSpace;
}

void SplitCheckTest::alignedPiecesTakeWholeBlocks() {
    QFETCH(qint64, blockSize);
    QFETCH(qint64, pieceLength);
    QFETCH(qint64, pieceCount);
    QFETCH(bool, sharing);
    QFETCH(qint64, room);
    QFETCH(qint64, planned);
    QFETCH(Failure::Code, refusal);
    Scene scene;
    scene.source(scene.inPath(QStringLiteral("video.mkv")), 100'000);
    SplitRequest request = scene.job.request();
    request.pieceLength = pieceLength;
    request.pieceCount = pieceCount;
    request.alignToBlocks = true;
    FaultyFileSystem files;
    files.reportBlockSize(blockSize);
    if (sharing)
        files.actAsBlockSharing();
    if (room > 0)
        files.reportRoom(room, 1000);
    try {
        const SplitPlan plan = planSplit(request, testWork(files));
        QCOMPARE(plan.files[0].pieceLength, planned);
        QCOMPARE(plan.alignedToBlock, pieceCount > 0 ? 0 : blockSize);
    } catch (const Failure &refused) {
        QVERIFY2(planned == 0, refused.what());
        QVERIFY2(refused.parts().front().code() == refusal, refused.what());
    }
}

void SplitCheckTest::namesWindowsTellsApartStandBeside_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("theirs"); // a file in the output folder, as the bytes of its name
    QTest::addColumn<QList<OutputNames::Kind>>("leftOut"); // what the split does not write
    const QList<OutputNames::Kind> all;
    QTest::addRow("sharp s and SS")
        << QStringLiteral("Stra\u00dfe") << QByteArray("STRASSE.1") << all;
    QTest::addRow("a ligature") << QStringLiteral("file") << QByteArray("\xef\xac\x81le.sha256")
                                << all;
    QTest::addRow("the Kelvin sign")
        << QStringLiteral("k") << QByteArray("\xe2\x84\xaa.bat") << all;
    QTest::addRow("a name that is not UTF-8")
        << QStringLiteral("\ufffd") << QByteArray("\xff.1") << all;
    // Only what the split writes is refused for what stands at its name.
    QTest::addRow("a script of another case, none for macOS and Linux written")
        << QStringLiteral("a") << QByteArray("A.SH") << QList{OutputNames::Kind::PosixScript};
    QTest::addRow("a list of another case, none written")
        << QStringLiteral("a") << QByteArray("A.SHA256") << QList{OutputNames::Kind::Checksums};
}

void SplitCheckTest::namesWindowsTellsApartStandBeside() {
    QFETCH(QString, source);
    QFETCH(QByteArray, theirs);
    QFETCH(QList<OutputNames::Kind>, leftOut);
    Scene scene;
    scene.job.leftOut = leftOut;
    const QByteArray theirPath = QFile::encodeName(scene.out.path()) + '/' + theirs;
    scene.rawPaths.append(theirPath);
    {
        QFile file;
        QVERIFY(
            file.open(::open(theirPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600),
                      QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        QVERIFY(file.write("theirs") == 6);
    }
    scene.source(scene.inPath(source));

    QVERIFY(scene.job.run().outcome == RunOutcome::Done);

    QFile file;
    QVERIFY(file.open(::open(theirPath.constData(), O_RDONLY | O_CLOEXEC), QIODevice::ReadOnly,
                      QFileDevice::AutoCloseHandle));
    QCOMPARE(file.readAll(), QByteArray("theirs"));
}

void SplitCheckTest::stalePiecesOfALongerSplitGo_data() {
    QTest::addColumn<QStringList>("before"); // pieces of x in the folder before the split
    QTest::addColumn<QStringList>("after");
    QTest::addRow("a file that became shorter")
        << QStringList{QStringLiteral("x.1"), QStringLiteral("x.2"), QStringLiteral("x.3"),
                       QStringLiteral("x.bat")}
        << QStringList{QStringLiteral("x.1"), QStringLiteral("x.2"), QStringLiteral("x.bat"),
                       QStringLiteral("x.sh"), QStringLiteral("x.sha256")};
    QTest::addRow("a file that became shorter, split by the version before")
        << QStringList{QStringLiteral("x.1"), QStringLiteral("x.2"), QStringLiteral("x.3"),
                       QStringLiteral("x.bat"), QStringLiteral("x.sh")}
        << QStringList{QStringLiteral("x.1"), QStringLiteral("x.2"), QStringLiteral("x.bat"),
                       QStringLiteral("x.sh"), QStringLiteral("x.sha256")};
    QTest::addRow("a file that became shorter, with only its checksum list left")
        << QStringList{QStringLiteral("x.1"), QStringLiteral("x.2"), QStringLiteral("x.3"),
                       QStringLiteral("x.sha256")}
        << QStringList{QStringLiteral("x.1"), QStringLiteral("x.2"), QStringLiteral("x.bat"),
                       QStringLiteral("x.sh"), QStringLiteral("x.sha256")};
    QTest::addRow("only the unbroken run after the last piece")
        << QStringList{QStringLiteral("x.3"), QStringLiteral("x.4"), QStringLiteral("x.6"),
                       QStringLiteral("x.bat")}
        << QStringList{QStringLiteral("x.1"),   QStringLiteral("x.2"),  QStringLiteral("x.6"),
                       QStringLiteral("x.bat"), QStringLiteral("x.sh"), QStringLiteral("x.sha256")};
}

void SplitCheckTest::stalePiecesOfALongerSplitGo() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    Scene scene;
    const QByteArray piece("from an earlier split");
    // The list of the three pieces a list is left of: the file they join into, then theirs.
    const QByteArray list = sha256sumLine(piece.repeated(3), "x") + sha256sumLine(piece, "x.1") +
                            sha256sumLine(piece, "x.2") + sha256sumLine(piece, "x.3");
    for (const QString &name : before)
        writeTestFile(scene.outPath(name),
                      name.endsWith(QStringLiteral(".bat"))  ? earlierScript(QStringLiteral("x"), 6)
                      : name.endsWith(QStringLiteral(".sh")) ? readTestFile(kEarlierPosixScript)
                      : name.endsWith(QStringLiteral(".sha256")) ? list
                                                                 : piece);
    const QString x = scene.source(scene.inPath(QStringLiteral("x")), 20);
    scene.job.size = QStringLiteral("11");

    QVERIFY(scene.job.run().outcome == RunOutcome::Done);

    QCOMPARE(filesIn(scene.out.path()), after);
    const ScriptReplay replay = replayScript(scene.out.path(), QStringLiteral("x.bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QCOMPARE(replay.joined.value(QStringLiteral("x")), patternBytes(20));
}

void SplitCheckTest::noEmptyPiecePastTheRealEnd() {
    // sysfs reports a page for a file of a few bytes; cut at exactly its length, it gives one
    // piece, not a second, empty one.
    const QString path = QStringLiteral("/sys/devices/system/cpu/possible");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        QSKIP("needs /sys/devices/system/cpu/possible");
    const QByteArray bytes = file.readAll();
    if (QFileInfo(path).size() <= bytes.size())
        QSKIP("the file reports its length here");
    Scene scene;
    scene.job.add(path);
    scene.job.size = QString::number(bytes.size() + 1);

    QVERIFY(scene.job.run().outcome == RunOutcome::Done);

    QCOMPARE(filesIn(scene.out.path()),
             (QStringList{QStringLiteral("possible.1"), QStringLiteral("possible.bat"),
                          QStringLiteral("possible.sh"), QStringLiteral("possible.sha256")}));
    QCOMPARE(readTestFile(scene.outPath(QStringLiteral("possible.1"))), bytes);
}

using Fault = std::function<void()>;

void SplitCheckTest::failuresOfAnyKindAreReported_data() {
    QTest::addColumn<Fault>("fail");
    QTest::addColumn<QString>("reason");
    QTest::addRow("memory runs out")
        << Fault([] { throw std::bad_alloc(); }) << QStringLiteral("there is not enough memory");
    QTest::addRow("no thread to spare") << Fault([] {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }) << QStringLiteral("Resource temporarily unavailable");
    QTest::addRow("anything else") << Fault([] { throw std::runtime_error("the unexpected"); })
                                   << QStringLiteral("the unexpected");
}

void SplitCheckTest::failuresOfAnyKindAreReported() {
    QFETCH(Fault, fail);
    QFETCH(QString, reason);
    Scene scene;
    scene.source(scene.inPath(QStringLiteral("first")), 30);
    scene.source(scene.inPath(QStringLiteral("second")), 30);
    ProgressHooks progress;
    progress.onFileStarted = [&](qint64 index) {
        if (index == 1)
            fail();
    };

    const SplitResult result = scene.job.run(progress, StopRequest());

    QVERIFY(result.outcome == RunOutcome::Failed);
    QCOMPARE(failureReason(*result.failure), reason);
    QCOMPARE(result.filesDone, 1);
    QCOMPARE(result.stoppedFile, 1);
    QCOMPARE(filesIn(scene.out.path()).size(), 7); // first.1 to first.4, .bat, .sh, .sha256
}

void SplitCheckTest::countsSaturate_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("blockSize");
    QTest::addColumn<qint64>("blocks");
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    QTest::addRow("a few bytes take a block") << qint64(10) << qint64(4096) << qint64(4096);
    QTest::addRow("whole blocks stay") << qint64(8192) << qint64(4096) << qint64(8192);
    QTest::addRow("the piece length of 1e300") << most << qint64(4096) << most;
    QTest::addRow("just below the largest count") << most - 100 << qint64(4096) << most;
}

void SplitCheckTest::countsSaturate() {
    QFETCH(qint64, bytes);
    QFETCH(qint64, blockSize);
    QFETCH(qint64, blocks);
    QCOMPARE(wholeBlocks(bytes, blockSize), blocks);
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    QCOMPARE(saturatingMultiply(most / 2, 3), most);
    QCOMPARE(saturatingAdd(most - 1, 2), most);
}

void SplitCheckTest::pieceLargerThanTheVolumeHoldsIsRefused() {
    FaultyFileSystem fat;
    fat.actAsFat();
    QTemporaryDir stick;
    Scene scene;
    scene.job.files = &fat;
    // A sparse file: it reports 5 GB and takes no room.
    const QString video = scene.inPath(QStringLiteral("video.mkv"));
    QFile sparse(video);
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(5'000'000'000));
    sparse.close();
    scene.job.add(video);
    scene.job.folder = stick.path();
    scene.job.size = QStringLiteral("5000000000");

    try {
        scene.job.run();
        QFAIL("the split was started");
    } catch (const Failure &refused) {
        QVERIFY2(std::any_of(refused.parts().cbegin(), refused.parts().cend(),
                             [&](const Failure &refusal) {
                                 return refusal.path() ==
                                            QDir::toNativeSeparators(stick.path()) + u'/' &&
                                        refusal.code() == Failure::Code::PieceTooLargeForVolume &&
                                        refusal.args().constLast().number == 4'999'999'999;
                             }),
                 refused.what());
    }
    QCOMPARE(filesIn(stick.path()), QStringList());
}

QTEST_GUILESS_MAIN(SplitCheckTest)
#include "tst_splitcheck.moc"
