#include "OutputTexts.h"
#include "TestFiles.h"
#include "names/OutputNames.h"
#include "names/PosixRestoreScript.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

// The script as a recipient runs it, on real pieces, with each shell and one SHA-256 tool or none
// on a PATH that holds nothing else but the few utilities the script calls.
class PosixScriptTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void restore_data();
    void restore();
    void waysOut_data();
    void waysOut() { restore(); }
};

namespace {

void addColumns() {
    QTest::addColumn<int>("pieces"); // of 99,999 bytes but the last, or of 7 past 3 pieces
    QTest::addColumn<int>("status");
    // damage is done to the piece before the last, or the ways out taken; a line the script says
    // holds line, %1 the name; fake, "tool: what it does" on a line for each.
    for (const char *column : {"shell", "tool", "name", "damage", "argument", "line", "fake"})
        QTest::addColumn<QString>(column);
}

} // namespace

void PosixScriptTest::restore_data() {
    addColumns();
    auto row = [](const char *tag, int pieces, int status, auto... texts) {
        QTestData &data = QTest::addRow("%s", tag) << pieces << status;
        (data << ... << QString::fromUtf8(texts)) << QString();
    };
    const char *doc = "report.doc",
               *odd = "-it's $HOME 100% & a\\b r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac",
               *restored = "%1 has been restored (checked)",
               *garbled = "%1.2 is damaged: its SHA-256 does not match";
    row("good set", 3, 0, "dash", "sha256sum", doc, "", "", restored);
    row("good set, shasum", 3, 0, "bash --posix", "shasum", doc, "", "", restored);
    row("good set, openssl", 3, 0, "busybox sh", "openssl", doc, "", "", restored);
    row("good set, sha256 -q as on the BSDs", 3, 0, "dash", "sha256", doc, "", "", restored);
    row("no digest tool", 3, 0, "dash", "", doc, "", "",
        "%1 has been restored, but only the sizes were checked: no SHA-256 tool was found");
    row("no checksum list", 3, 0, "busybox sh", "sha256sum", doc, "unlisted", "",
        "%1 has been restored, but only the sizes were checked: the pieces came without");
    row("missing piece", 3, 1, "bash --posix", "sha256sum", doc, "missing", "", "%1.2 is missing");
    row("short piece", 3, 1, "busybox sh", "shasum", doc, "short", "",
        "%1.2 has 99,998 bytes, not 99,999");
    row("a folder for a piece", 3, 1, "bash --posix", "openssl", doc, "folder", "",
        "%1.2 is not a regular file");
    row("damaged piece", 3, 1, "dash", "openssl", doc, "garbled", "", garbled);
    row("damaged piece, recovery files beside", 3, 1, "dash", "sha256sum", doc, "garbled par2", "",
        "from the recovery files beside them, with par2 r %1.par2");
    row("name taken", 3, 1, "bash --posix", "openssl", doc, "taken", "",
        "%1 is there already: it was left as it is, and nothing was restored");
    row("odd name", 3, 0, "dash", "shasum", odd, "", "", restored);
    row("odd name, damaged piece", 3, 1, "busybox sh", "sha256sum", odd, "garbled", "", garbled);
    // Names are handed on up to 96 KiB at a time: this is two batches.
    row("6000 pieces, damaged", 6000, 1, "bash --posix", "sha256sum", doc, "garbled", "",
        "%1.5999 is damaged: its SHA-256 does not match");
    row("check", 3, 0, "busybox sh", "openssl", doc, "", "--check",
        "Only checked, nothing written: the 3 pieces of %1 are there and whole");
    row("check, damaged piece", 3, 1, "bash --posix", "shasum", doc, "garbled", "--check", garbled);
    row("unknown argument", 3, 2, "dash", "sha256sum", doc, "", "--force",
        "%1.sh takes no argument to restore %1, or --check to only check its pieces");
    auto faked = [&](const char *tag, int status, const char *damage, const char *line,
                     const char *fake) {
        QTest::addRow("%s", tag) << 3 << status << QStringLiteral("dash")
                                 << QStringLiteral("sha256sum") << QString::fromUtf8(odd)
                                 << QString::fromUtf8(damage) << QString()
                                 << QString::fromUtf8(line) << QString::fromUtf8(fake);
    };
    faked("odd name, busybox's find", 0, "", restored, "find: exec busybox find \"$@\"");
    faked("odd name, no find, busybox's ls, which writes ? for what is not ASCII", 0, "", restored,
          "find: exit 1\nls: exec busybox ls \"$@\"");
    faked("odd name, short piece, no find, busybox's ls", 1, "short",
          "%1.2 has 99,998 bytes, not 99,999", "find: exit 1\nls: exec busybox ls \"$@\"");
}

void PosixScriptTest::waysOut_data() {
    addColumns();
    auto row = [](const QByteArray &tag, int status, const char *shell, const char *damage,
                  const char *fake, const char *line) {
        QTest::newRow(tag) << 3 << status << QString::fromUtf8(shell) << QStringLiteral("openssl")
                           << QStringLiteral("report.doc") << QString::fromUtf8(damage) << QString()
                           << QString::fromUtf8(line) << QString::fromUtf8(fake);
    };
    const char *restored = "%1 has been restored (checked)",
               *appeared = "%1 appeared while it was restored: it was left as it is";
    for (const char *shell : {"dash", "bash --posix", "busybox sh"}) {
        for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM})
            row(QByteArray(shell) + ", " + strsignal(signal) + " while joining", 128 + signal,
                shell, "signal", "cat: read go <\"${0%/*}/hold\"; exec cat \"$@\"", "");
        // As kill PID does: the join goes on, and the shell ends with it.
        row(QByteArray(shell) + ", Terminated sent to the shell alone while joining", 0, shell,
            "signal alone",
            "cat: [ -e \"$0.held\" ] || { : >\"$0.held\"; read go <\"${0%/*}/hold\"; }; exec "
            "cat \"$@\"",
            restored);
    }
    row("sourced, the shell is as it was", 0, "bash", "sourced", "", restored);
    row("sourced where the name is taken, the shell goes on", 1, "dash", "taken sourced", "",
        "%1 is there already");
    row("sourced in another folder", 1, "busybox sh", "sourced elsewhere", "",
        "%1.1 is not in the current folder, where %1.sh looks for its pieces");
    row("its temporary name taken before, its name during the move", 1, "busybox sh",
        "temporary newcomer", "ln: printf keep >report.doc; exec ln \"$@\"", appeared);
    row("a folder at the name during the move", 1, "bash --posix", "",
        "ln: mkdir report.doc; exec ln \"$@\"", appeared);
    row("a link to a folder at the name during the move", 1, "busybox sh", "",
        "ln: mkdir linked && ln -s linked report.doc; exec ln \"$@\"", appeared);
    row("no links here: the file is moved", 0, "dash", "", "ln: exit 1", restored);
    row("no links here, a folder at the name during the move", 1, "dash", "",
        "ln: exit 1\nmv: mkdir report.doc; exec mv \"$@\"", appeared);
    row("no links here, a file at the name during the move", 1, "busybox sh", "newcomer",
        "ln: exit 1\nmv: printf keep >report.doc; exec mv \"$@\"", appeared);
}

void PosixScriptTest::restore() {
    QFETCH(int, pieces);
    QFETCH(int, status);
    QFETCH(QString, shell);
    QFETCH(QString, tool);
    QFETCH(QString, name);
    QFETCH(QString, damage);
    QFETCH(QString, argument);
    QFETCH(QString, line);
    QFETCH(QString, fake);
    // And one of the awks, by the length of the row's name.
    const char *awks[] = {"mawk", "gawk", "original-awk", "busybox"};
    const QString awk = QString::fromUtf8(awks[qstrlen(QTest::currentDataTag()) % 4]);
    const QStringList ways = damage.split(u' ');
    const bool alone = ways.contains(u"alone");
    const int signal = ways.contains(u"signal") ? (alone ? SIGTERM : status - 128) : 0;
    QTemporaryDir bin, out; // the whole PATH, and the pieces' folder
    QStringList command = shell.split(u' ');
    const QStringList needs = QStringLiteral("%1 cat wc mv rm ls ln find getconf %2 %3")
                                  .arg(awk, command[0], tool == u"sha256" ? QString() : tool)
                                  .split(u' ', Qt::SkipEmptyParts);
    for (const QString &needed : needs) {
        const QString found = QStandardPaths::findExecutable(needed), as = bin.filePath(needed);
        if (found.isEmpty() ||
            !QFile::link(found, &needed == &needs[0] ? bin.filePath(QStringLiteral("awk")) : as))
            QSKIP(qPrintable(needed + QStringLiteral(" is not installed")));
    }
    // sha256 -q as the BSDs have it: the digest alone, a line for each file or the input.
    if (tool == u"sha256")
        fake = QStringLiteral("sha256: shift 2; sha256sum -- \"$@\" | while read -r hex n; do "
                              "echo \"${hex#\\\\}\"; done");
    for (const QString &each : fake.split(u'\n', Qt::SkipEmptyParts)) { // in sh, the test's PATH
        const QString utility = bin.filePath(each.section(u':', 0, 0));
        QFile::remove(utility);
        writeTestFile(utility,
                      "#!/bin/sh\nPATH=" + qgetenv("PATH") + '\n' + each.section(u':', 1).toUtf8());
        QVERIFY(QFile::setPermissions(utility, QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray hold = QFile::encodeName(bin.filePath(QStringLiteral("hold")));
    QVERIFY(!signal || ::mkfifo(hold.constData(), 0600) == 0); // the fake cat waits on it

    using Hash = QCryptographicHash;
    const OutputNames names(name);
    const qint64 length = pieces > 3 ? 7 : 99'999;
    const QByteArray source = patternBytes(length * pieces - length / 2, 5);
    QList<qint64> lengths;
    QList<QByteArray> digests;
    for (qint64 at = 0; at < source.size(); at += length) {
        writeTestFile(out.filePath(names.piece(lengths.size() + 1)), source.mid(at, length));
        lengths << source.mid(at, length).size();
        digests << Hash::hash(source.mid(at, length), Hash::Sha256).toHex();
    }
    const bool listed = damage != u"unlisted";
    const QString script = out.filePath(names.posixScript());
    writeTestFile(script, posixScriptText(names, lengths,
                                          listed ? Hash::hash(source, Hash::Sha256).toHex() : "",
                                          listed ? digests : QList<QByteArray>()));
    const QString hit = out.filePath(names.piece(pieces - 1));
    if (damage == u"missing" || damage == u"short")
        QVERIFY(QFile::resize(hit, length - 1) && (damage != u"missing" || QFile::remove(hit)));
    if (damage == u"folder")
        QVERIFY(QFile::remove(hit) && QDir().mkdir(hit));
    if (damage.startsWith(u"garbled"))
        writeTestFile(hit, QByteArray(length, 'x'));
    if (damage.endsWith(u"par2"))
        writeTestFile(out.filePath(names.recoveryIndex()), "PAR2");
    if (ways.contains(u"taken"))
        writeTestFile(out.filePath(name), "keep");
    QStringList expected = filesIn(out.path())
                           << (status || !argument.isEmpty() ? QStringList() : QStringList(name));
    if (ways.contains(u"newcomer"))
        expected << name;
    expected.sort();

    // From a folder of its own (the script goes to its folder); or by a shell that sources it, and
    // whose variables (and, in bash, functions), options and traps are then the same (bash keeps
    // what it last ran and sourced in variables); or one that first takes its temporary name.
    const QString shellPath = bin.filePath(command.takeFirst()),
                  state = QStringLiteral(". /dev/null; :; { set; trap; echo \"$-\"; } >%1/")
                              .arg(bin.path());
    const QString harness =
        ways.contains(u"sourced")
            ? QStringLiteral("%1before; . '%2'; set -- $?; %1after; [ \"$(cat %3/before)\" = "
                             "\"$(cat %3/after)\" ] && echo 'after %4.sh the shell is as it was'; "
                             "exit $1")
                  .arg(state, script, bin.path(), name)
        : ways.contains(u"temporary")
            ? QStringLiteral("printf keep >.restoring-$$-0 && exec %1 '%2'")
                  .arg((QStringList{shellPath} + command).join(u' '), script)
            : QString();
    QProcess run;
    run.setWorkingDirectory(harness.isEmpty() || ways.contains(u"elsewhere") ? bin.path()
                                                                             : out.path());
    run.start(QStringLiteral("setsid"), // in a process group of its own, for its signals
              QStringList{QStringLiteral("env"), QStringLiteral("PATH=") + bin.path(), shellPath}
                  << command
                  << (harness.isEmpty()
                          ? QStringList(script) << QStringList(argument).mid(argument.isEmpty())
                          : QStringList{QStringLiteral("-c"), harness}));
    QVERIFY(run.waitForStarted());
    const QString theirs = out.filePath(QStringLiteral(".restoring-%1-0").arg(run.processId()));
    if (signal) {
        int fifo = -1;
        // Opened once: the check after the wait evaluates its condition again.
        QTRY_VERIFY_WITH_TIMEOUT(
            fifo >= 0 || (fifo = ::open(hold.constData(), O_WRONLY | O_NONBLOCK)) >= 0, 30'000);
        QVERIFY(::kill(alone ? pid_t(run.processId()) : -pid_t(run.processId()), signal) == 0 &&
                ::close(fifo) == 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            filesIn(out.path()).filter(QStringLiteral(".restoring-")).isEmpty(), 30'000);
    }
    QVERIFY(run.state() == QProcess::NotRunning || run.waitForFinished(120'000));
    const QString told = QString::fromUtf8(run.readAllStandardOutput()),
                  warned = QString::fromUtf8(run.readAllStandardError());
    QVERIFY2(signal || (status == 0 ? told : warned).contains(line.arg(name)),
             qPrintable(awk + u' ' + told + warned));
    QVERIFY2(!ways.contains(u"sourced") || told.contains(u"the shell is as it was"),
             qPrintable(told));
    for (const QString &each : (told + warned).split(u'\n', Qt::SkipEmptyParts))
        QVERIFY2(signal || each.contains(name), qPrintable(each));
    QCOMPARE(run.exitStatus() == QProcess::NormalExit ? run.exitCode() : 128 + run.exitCode(),
             status);
    QVERIFY(!ways.contains(u"temporary") ||
            (readTestFile(theirs) == "keep" && QFile::remove(theirs)));
    QCOMPARE(filesIn(out.path()), expected);
    QCOMPARE(filesIn(out.filePath(name)), QStringList()); // none in a folder that took the name
    if (expected.contains(name))
        QCOMPARE(readTestFile(out.filePath(name)), status ? "keep" : source);
}

QTEST_GUILESS_MAIN(PosixScriptTest)
#include "tst_posixscript.moc"
