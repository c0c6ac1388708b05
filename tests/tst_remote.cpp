#include "RcloneRemotes.h"
#include "RemotePath.h"
#include "TestFiles.h"
#include "TmpfsMount.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>

#include <sys/stat.h>

// Pieces that go to a remote and come back from it, through the real rclone: a remote of the
// local backend in a configuration of the test's own for the cases, and rclone's own WebDAV and
// SFTP servers on 127.0.0.1, started and stopped by the test, for the network.
class RemoteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void remotePaths_data();
    void remotePaths();
    void splitToRemote_data();
    void splitToRemote();
    void fromRemote_data();
    void fromRemote();
    void overTheNetwork_data();
    void overTheNetwork();
    void cutSplitIsTakenUp_data();
    void cutSplitIsTakenUp();
    void cutJoinLeavesNothing_data();
    void cutJoinLeavesNothing();
    void fullRemote_data();
    void fullRemote();
};

namespace {

struct Outcome {
    int status = -1;
    QString said; // stdout and stderr
};

Outcome runCli(const RcloneRemotes &remotes, const QString &folder, const QStringList &arguments,
               const QHash<QString, QString> &more = {}) {
    QProcessEnvironment environment = remotes.environment();
    for (auto value = more.cbegin(); value != more.cend(); ++value)
        environment.insert(value.key(), value.value());
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.setWorkingDirectory(folder);
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start(QStringLiteral(TESSARY_CLI), arguments);
    if (!cli.waitForFinished(120'000))
        return {};
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            QString::fromLocal8Bit(cli.readAll())};
}

QStringList args(const char *line) {
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

// Every file under folder, hidden ones too, by path in it, with its bytes.
QHash<QString, QByteArray> contentsOf(const QString &folder) {
    QHash<QString, QByteArray> contents;
    const QDir root(folder);
    for (const QFileInfo &entry : root.entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::NoDotAndDotDot | QDir::System)) {
        if (entry.isDir())
            contents.insert(entry.fileName() + u'/', {});
        else
            contents.insert(entry.fileName(), readTestFile(entry.filePath()));
    }
    return contents;
}

const QByteArray kReport = patternBytes(2500);

// report.doc as the queue's file, and its split at 1000 into a folder of the local disk: what
// a split onto a remote must leave there.
void localSplit(const RcloneRemotes &remotes, const QString &folder, const QString &into,
                const char *size = "1000") {
    QDir(into).mkpath(QStringLiteral("."));
    QCOMPARE(runCli(remotes, folder,
                    {QStringLiteral("split"), QStringLiteral("-q"), QStringLiteral("-s"),
                     QString::fromLatin1(size), QStringLiteral("-o"), into,
                     QStringLiteral("report.doc")})
                 .status,
             0);
}

const QStringList kOutputs{QStringLiteral("report.doc.1"),  QStringLiteral("report.doc.2"),
                           QStringLiteral("report.doc.3"),  QStringLiteral("report.doc.bat"),
                           QStringLiteral("report.doc.sh"), QStringLiteral("report.doc.sha256")};

// What a row does to the remote folder (box:out, here the folder given) before the run.
using Setup =
    std::function<void(const RcloneRemotes &remotes, const QString &work, const QString &out)>;

// An earlier split of ours, cut after its first pieces: the rest and the files beside them gone.
void cutAfter(const RcloneRemotes &remotes, const QString &work, const QString &out, int pieces) {
    localSplit(remotes, work, out);
    for (const QString &name : kOutputs.mid(pieces))
        QVERIFY(QFile::remove(QDir(out).filePath(name)));
}

void damage(const QString &path) {
    QByteArray bytes = readTestFile(path);
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
    writeTestFile(path, bytes);
}

// A file replaced at its name, even by the same bytes, has another.
quint64 inodeOf(const QString &path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(RcloneServer::Protocol)

void RemoteTest::remotePaths_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("remote"); // empty: a local path
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");
    QTest::addRow("a remote of the configuration") << "box:sets/2024/"
                                                   << "box:"
                                                   << "sets/2024"
                                                   << "2024";
    QTest::addRow("its root") << "box:"
                              << "box:"
                              << ""
                              << "";
    QTest::addRow("a remote with options of its own") << "box,vendor=other:a.1"
                                                      << "box,vendor=other:"
                                                      << "a.1"
                                                      << "a.1";
    QTest::addRow("one made on the fly, a colon quoted in it")
        << ":webdav,url='http://127.0.0.1:8080/':in/a.sha256"
        << ":webdav,url='http://127.0.0.1:8080/':"
        << "in/a.sha256"
        << "a.sha256";
    QTest::addRow("an absolute path on it") << "box:/srv/x"
                                            << "box:"
                                            << "/srv/x"
                                            << "x";
    QTest::addRow("a local path, a slash before the colon") << "./a:b"
                                                            << ""
                                                            << ""
                                                            << "";
    QTest::addRow("a local folder") << "out"
                                    << ""
                                    << ""
                                    << "";
    QTest::addRow("an absolute local path") << "/tmp/a:b"
                                            << ""
                                            << ""
                                            << "";
}

void RemoteTest::remotePaths() {
    QFETCH(QString, text);
    QFETCH(QString, remote);
    QFETCH(QString, path);
    QFETCH(QString, fileName);
    const std::optional<RemotePath> parsed = RemotePath::parse(text);
    QCOMPARE(parsed.has_value(), !remote.isEmpty());
    if (!parsed)
        return;
    QCOMPARE(parsed->remote(), remote);
    QCOMPARE(parsed->path(), path);
    QCOMPARE(parsed->fileName(), fileName);
}

void RemoteTest::splitToRemote_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QStringList>("kept"); // files there that stay the same files
    const Setup folder = [](const RcloneRemotes &, const QString &, const QString &out) {
        QDir(out).mkpath(QStringLiteral("."));
    };
    const Setup cutAfterTwo = [](const RcloneRemotes &remotes, const QString &work,
                                 const QString &out) { cutAfter(remotes, work, out, 2); };
    const auto writing = [](const char *name, const QByteArray &bytes) {
        return Setup([=](const RcloneRemotes &, const QString &, const QString &out) {
            QDir(out).mkpath(QStringLiteral("."));
            writeTestFile(QDir(out).filePath(QString::fromLatin1(name)), bytes);
        });
    };
    const QString done = QStringLiteral("I am done splitting all of the files");
    QTest::addRow("into a folder there")
        << folder << args("split -s 1000 -o box:out report.doc") << 0 << done << QStringList();
    QTest::addRow("into a folder that is not there")
        << Setup() << args("split -s 1000 -o box:out report.doc") << 1 << "(--mkdir)"
        << QStringList();
    QTest::addRow("into a folder made for it")
        << Setup() << args("split -s 1000 --mkdir -o box:out report.doc") << 0 << done
        << QStringList();
    QTest::addRow("over an earlier, longer split of ours, whose last pieces go")
        << Setup([](const RcloneRemotes &remotes, const QString &work, const QString &out) {
               localSplit(remotes, work, out, "500");
           })
        << args("split -s 1000 -o box:out report.doc") << 0 << done << QStringList();
    QTest::addRow("a file of the user's at a piece's name")
        << writing("report.doc.2", "mine") << args("split -s 1000 -o box:out report.doc") << 1
        << "no restore script or checksum list of report.doc beside it names that piece"
        << QStringList{QStringLiteral("report.doc.2")};
    QTest::addRow("a file of the user's at the list's name")
        << writing("report.doc.sha256", "mine") << args("split -s 1000 -o box:out report.doc") << 1
        << "is not a checksum list of report.doc's pieces" << QStringList();
    QTest::addRow("rotated logs at the pieces' names, with a checksum list of sha256sum's")
        << Setup([](const RcloneRemotes &, const QString &, const QString &out) {
               QDir(out).mkpath(QStringLiteral("."));
               QByteArray list = sha256sumLine(kReport, "report.doc");
               for (const char *log : {"report.doc.1", "report.doc.2"}) {
                   writeTestFile(QDir(out).filePath(QString::fromLatin1(log)), log);
                   list += sha256sumLine(log, log);
               }
               writeTestFile(QDir(out).filePath(QStringLiteral("report.doc.sha256")), list);
           })
        << args("split -s 1000 -o box:out report.doc") << 1
        << "is not a checksum list of report.doc's pieces"
        << QStringList{QStringLiteral("report.doc.1"), QStringLiteral("report.doc.2")};
    QTest::addRow("a folder at a piece's name")
        << Setup([](const RcloneRemotes &, const QString &, const QString &out) {
               QDir(out).mkpath(QStringLiteral("report.doc.1"));
           })
        << args("split -s 1000 -o box:out report.doc") << 1 << "is a folder, not a regular file"
        << QStringList();
    QTest::addRow("another spelling of a piece's name, which Windows takes for it")
        << writing("REPORT.DOC.3", "mine") << args("split -s 1000 -o box:out report.doc") << 1
        << "once on Windows" << QStringList();
    QTest::addRow("a remote that is not configured")
        << folder << args("split -s 1000 -o nowhere:out report.doc") << 1
        << "nowhere is not a remote of rclone's configuration" << QStringList();
    QTest::addRow("taken up, the pieces that stand whole kept")
        << cutAfterTwo << args("split -s 1000 --resume -o box:out report.doc") << 0
        << "2 pieces were there whole from the split that was cut, and were kept."
        << QStringList{QStringLiteral("report.doc.1"), QStringLiteral("report.doc.2")};
    QTest::addRow("taken up, a piece of other bytes refused")
        << Setup([](const RcloneRemotes &remotes, const QString &work, const QString &out) {
               cutAfter(remotes, work, out, 2);
               damage(QDir(out).filePath(QStringLiteral("report.doc.2")));
           })
        << args("split -s 1000 --resume -o box:out report.doc") << 1
        << "it is not the piece that this split of report.doc makes"
        << QStringList{QStringLiteral("report.doc.1")};
    QTest::addRow("a split that was cut, not taken up")
        << cutAfterTwo << args("split -s 1000 -o box:out report.doc") << 1
        << "split again with --resume" << QStringList();
    QTest::addRow("without the list")
        << folder << args("split -s 1000 --no-checksums -o box:out report.doc") << 0 << done
        << QStringList();
    QTest::addRow("with recovery files")
        << folder << args("split -s 1000 -r 1 -o box:out report.doc") << 1
        << "recovery files are made from pieces on the local disk" << QStringList();
    QTest::addRow("taken up into a local folder")
        << folder << args("split -s 1000 --resume -o out report.doc") << 2
        << "--mkdir and --resume are for a split to a remote" << QStringList();
}

void RemoteTest::splitToRemote() {
    QFETCH(Setup, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QStringList, kept);
    const RcloneRemotes remotes;
    if (!remotes.isAvailable())
        QSKIP("rclone is not installed");
    QTemporaryDir work;
    writeTestFile(work.filePath(QStringLiteral("report.doc")), kReport);
    const QString out = QDir(remotes.boxFolder()).filePath(QStringLiteral("out"));
    if (setup)
        setup(remotes, work.path(), out);
    const QHash<QString, QByteArray> before = contentsOf(out);
    QHash<QString, quint64> inodes;
    for (const QString &name : kept)
        inodes.insert(name, inodeOf(QDir(out).filePath(name)));

    const Outcome outcome = runCli(remotes, work.path(), arguments);

    QVERIFY2(outcome.said.contains(said), qPrintable(outcome.said));
    QCOMPARE(outcome.status, status);
    QCOMPARE(filesIn(work.path()), QStringList{QStringLiteral("report.doc")});
    for (const QString &name : kept)
        QCOMPARE(inodeOf(QDir(out).filePath(name)), inodes.value(name));
    if (status != 0) { // nothing of the split is there, nor is anything there changed
        QCOMPARE(contentsOf(out), before);
        return;
    }
    // What the same split into a folder of the local disk writes, byte for byte.
    QTemporaryDir local;
    QStringList here = arguments;
    here.replace(here.indexOf(QStringLiteral("box:out")), local.path());
    here.removeAll(QStringLiteral("--mkdir"));
    here.removeAll(QStringLiteral("--resume"));
    QCOMPARE(runCli(remotes, work.path(), here).status, 0);
    QCOMPARE(contentsOf(out), contentsOf(local.path()));
}

void RemoteTest::fromRemote_data() {
    QTest::addColumn<Setup>("setup"); // after a split onto box:out
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("joined"); // where the joined file stands; empty: nowhere
    const Setup asSplit;
    const auto damaging = [](const char *name) {
        return Setup([=](const RcloneRemotes &, const QString &, const QString &out) {
            damage(QDir(out).filePath(QString::fromLatin1(name)));
        });
    };
    const auto removing = [](std::initializer_list<const char *> given) {
        QStringList names;
        for (const char *name : given)
            names << QString::fromLatin1(name);
        return Setup([=](const RcloneRemotes &, const QString &, const QString &out) {
            for (const QString &name : names)
                QVERIFY(QFile::remove(QDir(out).filePath(name)));
        });
    };
    QTest::addRow("a join from the list")
        << asSplit << args("join box:out/report.doc.sha256") << 0
        << "reads the pieces of report.doc there as one file of 2,500 bytes."
        << "report.doc";
    QTest::addRow("a join from the first piece") << asSplit << args("join box:out/report.doc.1")
                                                 << 0 << "All 3 pieces matched their checksums."
                                                 << "report.doc";
    QTest::addRow("a join from the script for Windows")
        << asSplit << args("join box:out/report.doc.bat") << 0 << "report.doc has been restored"
        << "report.doc";
    QTest::addRow("a join from the script for macOS and Linux, into a folder given")
        << asSplit << args("join -o in box:out/report.doc.sh") << 0
        << "report.doc has been restored"
        << "in/report.doc";
    QTest::addRow("a join with a damaged piece")
        << damaging("report.doc.2") << args("join box:out/report.doc.sha256") << 1
        << "report.doc.2 is damaged: its SHA-256 does not match report.doc.sha256. Nothing was "
           "written."
        << "";
    QTest::addRow("a join with a missing piece")
        << removing({"report.doc.3"}) << args("join box:out/report.doc.sha256") << 1
        << "box:out/report.doc.3: this piece is missing"
        << "";
    QTest::addRow("a join without the list, checked by the script for macOS and Linux")
        << removing({"report.doc.sha256"}) << args("join box:out/report.doc.1") << 0
        << "All 3 pieces matched their checksums."
        << "report.doc";
    QTest::addRow("a join without the list or that script")
        << removing({"report.doc.sha256", "report.doc.sh"}) << args("join box:out/report.doc.1")
        << 1 << "no checksum list (report.doc.sha256) stands beside it"
        << "";
    QTest::addRow("a join onto a file that is there, answered No")
        << Setup([](const RcloneRemotes &, const QString &work, const QString &) {
               writeTestFile(QDir(work).filePath(QStringLiteral("report.doc")), "mine");
           })
        << args("join box:out/report.doc.sha256") << 1 << "exists already"
        << "";
    QTest::addRow("a check") << asSplit << args("verify box:out/report.doc.sha256") << 0
                             << "All 3 pieces match report.doc.sha256"
                             << "";
    QTest::addRow("a check with a damaged piece")
        << damaging("report.doc.2") << args("verify box:out/report.doc.1") << 1
        << "report.doc.2: damaged"
        << "";
    QTest::addRow("a check beside a script for macOS and Linux that is not ours")
        << damaging("report.doc.sh") << args("verify box:out/report.doc.sha256") << 1
        << "cannot be trusted to restore them"
        << "";
    QTest::addRow("a check with a missing piece")
        << removing({"report.doc.1"}) << args("verify box:out/report.doc.sha256") << 1
        << "report.doc.1: missing"
        << "";
}

void RemoteTest::fromRemote() {
    QFETCH(Setup, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QString, joined);
    const RcloneRemotes remotes;
    if (!remotes.isAvailable())
        QSKIP("rclone is not installed");
    QTemporaryDir source;
    writeTestFile(source.filePath(QStringLiteral("report.doc")), kReport);
    QCOMPARE(runCli(remotes, source.path(), args("split -q -s 1000 --mkdir -o box:out report.doc"))
                 .status,
             0);
    QTemporaryDir work;
    QDir(work.path()).mkdir(QStringLiteral("in"));
    if (setup)
        setup(remotes, work.path(), QDir(remotes.boxFolder()).filePath(QStringLiteral("out")));
    const QHash<QString, QByteArray> before = contentsOf(work.path());

    const Outcome outcome = runCli(remotes, work.path(), arguments);

    QVERIFY2(outcome.said.contains(said), qPrintable(outcome.said));
    QCOMPARE(outcome.status, status);
    if (joined.isEmpty()) // nothing written
        QCOMPARE(contentsOf(work.path()), before);
    else
        QCOMPARE(readTestFile(QDir(work.path()).filePath(joined)), kReport);
}

void RemoteTest::overTheNetwork_data() {
    QTest::addColumn<RcloneServer::Protocol>("protocol");
    QTest::addColumn<QString>("wrongPassword"); // the client's, where it is not the server's
    QTest::addColumn<QString>("standing");      // a file of the user's at this name
    QTest::addColumn<QString>("damaged");       // a piece damaged before the join
    QTest::addColumn<QString>("said");
    using Protocol = RcloneServer::Protocol;
    QTest::addRow("over WebDAV") << Protocol::WebDav << ""
                                 << ""
                                 << ""
                                 << "has been restored";
    QTest::addRow("over SFTP, whose server hashes what it holds") << Protocol::Sftp << ""
                                                                  << ""
                                                                  << ""
                                                                  << "has been restored";
    QTest::addRow("a name there that is not ours, over WebDAV") << Protocol::WebDav << ""
                                                                << "report.doc.1"
                                                                << ""
                                                                << "Tessary will not replace it";
    QTest::addRow("a piece damaged there, over SFTP") << Protocol::Sftp << ""
                                                      << ""
                                                      << "report.doc.3"
                                                      << "report.doc.3 is damaged";
    QTest::addRow("credentials refused, over SFTP") << Protocol::Sftp << "wrong"
                                                    << ""
                                                    << ""
                                                    << "the remote refused the credentials";
    QTest::addRow("credentials refused, over WebDAV") << Protocol::WebDav << "wrong"
                                                      << ""
                                                      << ""
                                                      << "the remote refused the credentials";
}

void RemoteTest::overTheNetwork() {
    QFETCH(RcloneServer::Protocol, protocol);
    QFETCH(QString, wrongPassword);
    QFETCH(QString, standing);
    QFETCH(QString, damaged);
    QFETCH(QString, said);
    const RcloneRemotes remotes;
    if (!remotes.isAvailable())
        QSKIP("rclone is not installed");
    QTemporaryDir served;
    RcloneServer server(remotes, protocol, served.path(), QStringLiteral("secret"));
    QVERIFY(server.start());
    if (!standing.isEmpty())
        writeTestFile(served.filePath(standing), "mine");
    QTemporaryDir work;
    writeTestFile(work.filePath(QStringLiteral("report.doc")), kReport);
    const QString remote = server.remote(wrongPassword);

    Outcome outcome = runCli(remotes, work.path(),
                             {QStringLiteral("split"), QStringLiteral("-s"), QStringLiteral("1000"),
                              QStringLiteral("-o"), remote, QStringLiteral("report.doc")});
    if (outcome.status == 0) {
        QCOMPARE(QDir(served.path()).entryList(QDir::Files | QDir::Hidden), kOutputs);
        if (!damaged.isEmpty())
            damage(served.filePath(damaged));
        QTemporaryDir joined;
        outcome = runCli(remotes, joined.path(),
                         {QStringLiteral("join"), remote + QStringLiteral("report.doc.sha256")});
        QCOMPARE(readTestFile(joined.filePath(QStringLiteral("report.doc"))),
                 damaged.isEmpty() ? kReport : QByteArray());
    } else {
        QCOMPARE(QDir(served.path()).entryList(QDir::Files | QDir::Hidden),
                 standing.isEmpty() ? QStringList() : QStringList{standing});
    }
    QVERIFY2(outcome.said.contains(said), qPrintable(outcome.said));
    QCOMPARE(outcome.status,
             damaged.isEmpty() && standing.isEmpty() && wrongPassword.isEmpty() ? 0 : 1);
}

void RemoteTest::cutSplitIsTakenUp_data() {
    QTest::addColumn<bool>("serverKilled"); // else Ctrl+C
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::addRow("the server stopped mid-split, as when the cable is pulled")
        << true << 1 << "the connection to the remote was lost";
    QTest::addRow("Ctrl+C mid-split") << false << 130 << "The piece under way was removed.";
}

void RemoteTest::cutSplitIsTakenUp() {
    QFETCH(bool, serverKilled);
    QFETCH(int, status);
    QFETCH(QString, said);
    const RcloneRemotes remotes;
    if (!remotes.isAvailable())
        QSKIP("rclone is not installed");
    QTemporaryDir served;
    RcloneServer server(remotes, RcloneServer::Protocol::WebDav, served.path());
    QVERIFY(server.start());
    QTemporaryDir work;
    const QByteArray source = patternBytes(qint64(8) << 20);
    writeTestFile(work.filePath(QStringLiteral("big.bin")), source);
    const QStringList split{QStringLiteral("split"),  QStringLiteral("-q"), QStringLiteral("-s"),
                            QStringLiteral("1MiB"),   QStringLiteral("-o"), server.remote(),
                            QStringLiteral("big.bin")};
    QProcessEnvironment slowly = remotes.environment();
    slowly.insert(QStringLiteral("RCLONE_BWLIMIT"), QStringLiteral("2M"));
    QProcess cli;
    cli.setProcessEnvironment(slowly);
    cli.setWorkingDirectory(work.path());
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start(QStringLiteral(TESSARY_CLI), split);

    // Cut once two pieces are there.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(served.filePath(QStringLiteral("big.bin.2"))),
                             60'000);
    if (serverKilled)
        server.kill();
    else
        QCOMPARE(::kill(pid_t(cli.processId()), SIGINT), 0);
    QVERIFY(cli.waitForFinished(60'000));
    const QString told = QString::fromLocal8Bit(cli.readAll());
    QVERIFY2(told.contains(said), qPrintable(told));
    QVERIFY2(told.contains(QStringLiteral("split again with --resume")), qPrintable(told));
    QCOMPARE(cli.exitCode(), status);
    QCOMPARE(filesIn(work.path()), QStringList{QStringLiteral("big.bin")});
    // There, only whole pieces under their names; what was under way is hidden, and removed
    // where the server could still be asked to.
    for (const QString &name : QDir(served.path()).entryList(QDir::Files | QDir::Hidden)) {
        QVERIFY2(serverKilled || !name.startsWith(u'.'), qPrintable(name));
        if (!name.startsWith(QStringLiteral(".tessary-")))
            QCOMPARE(QFileInfo(served.filePath(name)).size(), (qint64(1) << 20) - 1);
    }

    if (serverKilled)
        QVERIFY(server.start());
    const Outcome resumed =
        runCli(remotes, work.path(), QStringList(split) << QStringLiteral("--resume"));
    QCOMPARE(resumed.status, 0);
    QCOMPARE(QDir(served.path()).entryList(QDir::Files | QDir::Hidden).size(), 9 + 3);
    QTemporaryDir joined;
    QCOMPARE(runCli(remotes, joined.path(),
                    {QStringLiteral("join"), server.remote() + QStringLiteral("big.bin.1")})
                 .status,
             0);
    QVERIFY(readTestFile(joined.filePath(QStringLiteral("big.bin"))) == source);
}

void RemoteTest::cutJoinLeavesNothing_data() {
    QTest::addColumn<bool>("serverKilled"); // else Ctrl+C
    QTest::addColumn<int>("status");
    QTest::addRow("the server stopped mid-join") << true << 1;
    QTest::addRow("Ctrl+C mid-join") << false << 130;
}

void RemoteTest::cutJoinLeavesNothing() {
    QFETCH(bool, serverKilled);
    QFETCH(int, status);
    const RcloneRemotes remotes;
    if (!remotes.isAvailable())
        QSKIP("rclone is not installed");
    QTemporaryDir served;
    RcloneServer server(remotes, RcloneServer::Protocol::WebDav, served.path());
    QVERIFY(server.start());
    writeTestFile(served.filePath(QStringLiteral("big.bin")), patternBytes(qint64(8) << 20));
    QCOMPARE(runCli(remotes, served.path(), args("split -q -s 1MiB big.bin")).status, 0);
    QTemporaryDir joined;
    QProcessEnvironment slowly = remotes.environment();
    slowly.insert(QStringLiteral("RCLONE_BWLIMIT"), QStringLiteral("2M"));
    QProcess cli;
    cli.setProcessEnvironment(slowly);
    cli.setWorkingDirectory(joined.path());
    cli.start(QStringLiteral(TESSARY_CLI), {QStringLiteral("join"), QStringLiteral("-q"),
                                            server.remote() + QStringLiteral("big.bin.sha256")});
    QVERIFY(cli.waitForStarted());

    // Cut once a MiB of it is written.
    const auto written = [&cli] {
        QFile io(QStringLiteral("/proc/%1/io").arg(cli.processId()));
        if (!io.open(QIODevice::ReadOnly))
            return qint64(0);
        io.readLine(); // rchar, then wchar
        return io.readLine().mid(int(qstrlen("wchar:"))).trimmed().toLongLong();
    };
    QTRY_VERIFY_WITH_TIMEOUT(written() > (qint64(1) << 20), 60'000);
    if (serverKilled)
        server.kill();
    else
        QCOMPARE(::kill(pid_t(cli.processId()), SIGINT), 0);
    QVERIFY(cli.waitForFinished(60'000));
    QCOMPARE(cli.exitCode(), status);
    QCOMPARE(QDir(joined.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void RemoteTest::fullRemote_data() {
    QTest::addColumn<RcloneServer::Protocol>("protocol");
    QTest::addColumn<QString>("said");
    QTest::addRow("SFTP, which tells its room: refused before the first byte")
        << RcloneServer::Protocol::Sftp << "of free space there, but only";
    QTest::addRow("WebDAV, which does not: refused by the server, nothing half-made")
        << RcloneServer::Protocol::WebDav << "could not be split onto the remote";
}

void RemoteTest::fullRemote() {
    QFETCH(RcloneServer::Protocol, protocol);
    QFETCH(QString, said);
    const RcloneRemotes remotes;
    if (!remotes.isAvailable())
        QSKIP("rclone is not installed");
    const TmpfsMount small(QStringLiteral("1m"));
    if (!small.isMounted())
        QSKIP(qPrintable(small.skipReason()));
    RcloneServer server(remotes, protocol, small.path());
    QVERIFY(server.start());
    QTemporaryDir work;
    writeTestFile(work.filePath(QStringLiteral("big.bin")), patternBytes(qint64(3) << 20));

    const Outcome outcome =
        runCli(remotes, work.path(),
               {QStringLiteral("split"), QStringLiteral("-s"), QStringLiteral("512k"),
                QStringLiteral("-o"), server.remote(), QStringLiteral("big.bin")});

    QVERIFY2(outcome.said.contains(said), qPrintable(outcome.said));
    QCOMPARE(outcome.status, 1);
    for (const QString &name : QDir(small.path()).entryList(QDir::Files | QDir::Hidden))
        QCOMPARE(QFileInfo(small.filePath(name)).size(), qint64(512'000 - 1));
}

QTEST_GUILESS_MAIN(RemoteTest)
#include "tst_remote.moc"
