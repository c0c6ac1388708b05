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

// The script as a recipient runs it, on real pieces, with each shell and one SHA-256 tool or none
// on a PATH that holds nothing else but the few utilities the script calls.
class PosixScriptTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void restore_data();
    void restore();
};

void PosixScriptTest::restore_data() {
    QTest::addColumn<int>("pieces"); // of 99,999 bytes but the last, or of 7 past 3 pieces
    QTest::addColumn<int>("status");
    // damage is done to the piece before the last; a line the script says holds line, %1 the name.
    for (const char *column : {"shell", "tool", "name", "damage", "argument", "line"})
        QTest::addColumn<QString>(column);
    auto row = [](const char *tag, int pieces, int status, auto... texts) {
        QTestData &data = QTest::addRow("%s", tag) << pieces << status;
        (data << ... << QString::fromUtf8(texts));
    };
    const char *doc = "report.doc",
               *odd = "-it's $HOME 100% & a\\b r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac",
               *restored = "%1 has been restored (checked)",
               *garbled = "%1.2 is damaged: its SHA-256 does not match";
    row("good set", 3, 0, "dash", "sha256sum", doc, "", "", restored);
    row("good set, shasum", 3, 0, "bash --posix", "shasum", doc, "", "", restored);
    row("good set, openssl", 3, 0, "busybox sh", "openssl", doc, "", "", restored);
    row("no digest tool", 3, 0, "dash", "", doc, "", "",
        "%1 has been restored, but only the sizes were checked: no SHA-256 tool was found");
    row("no checksum list", 3, 0, "busybox sh", "sha256sum", doc, "unlisted", "",
        "%1 has been restored, but only the sizes were checked: the pieces came without");
    row("missing piece", 3, 1, "bash --posix", "sha256sum", doc, "missing", "", "%1.2 is missing");
    row("short piece", 3, 1, "busybox sh", "shasum", doc, "short", "",
        "%1.2 has 99,998 bytes, not 99,999");
    row("damaged piece", 3, 1, "dash", "openssl", doc, "garbled", "", garbled);
    row("damaged piece, recovery files beside", 3, 1, "dash", "sha256sum", doc, "garbled par2", "",
        "from the recovery files beside them, with par2 r %1.par2");
    row("name taken", 3, 1, "bash --posix", "openssl", doc, "taken", "",
        "%1 is there already: it was left as it is, and nothing was restored");
    row("odd name", 3, 0, "dash", "shasum", odd, "", "", restored);
    row("odd name, damaged piece", 3, 1, "busybox sh", "sha256sum", odd, "garbled", "", garbled);
    row("1500 pieces, damaged", 1500, 1, "bash --posix", "sha256sum", doc, "garbled", "",
        "%1.1499 is damaged: its SHA-256 does not match");
    row("check", 3, 0, "busybox sh", "openssl", doc, "", "--check",
        "Only checked, nothing written: the 3 pieces of %1 are there and whole");
    row("check, damaged piece", 3, 1, "bash --posix", "shasum", doc, "garbled", "--check", garbled);
    row("unknown argument", 3, 2, "dash", "sha256sum", doc, "", "--force",
        "%1.sh takes no argument to restore %1, or --check to only check its pieces");
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
    QTemporaryDir bin, out; // the whole PATH, and the pieces' folder
    QStringList command = shell.split(u' ');
    for (const QString &needed : QStringLiteral("cat wc mv rm tr %1 %2")
                                     .arg(command[0], tool)
                                     .split(u' ', Qt::SkipEmptyParts)) {
        if (QStandardPaths::findExecutable(needed).isEmpty())
            QSKIP(qPrintable(needed + QStringLiteral(" is not installed")));
        QVERIFY(QFile::link(QStandardPaths::findExecutable(needed), bin.filePath(needed)));
    }

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
    writeTestFile(out.filePath(names.posixScript()),
                  PosixRestoreScript::scriptFor(
                      names, lengths, listed ? Hash::hash(source, Hash::Sha256).toHex() : "",
                      listed ? digests : QList<QByteArray>()));
    const QString hit = out.filePath(names.piece(pieces - 1));
    if (damage == u"missing" || damage == u"short")
        QVERIFY(QFile::resize(hit, length - 1) && (damage != u"missing" || QFile::remove(hit)));
    if (damage.startsWith(u"garbled"))
        writeTestFile(hit, QByteArray(length, 'x'));
    if (damage.endsWith(u"par2"))
        writeTestFile(out.filePath(names.recoveryIndex()), "PAR2");
    if (damage == u"taken")
        writeTestFile(out.filePath(name), "keep");
    QStringList expected = filesIn(out.path())
                           << (status || !argument.isEmpty() ? QStringList() : QStringList(name));
    expected.sort();

    QProcess run; // from a folder of its own: the script goes to its folder
    run.start(QStringLiteral("env"),
              QStringList{QStringLiteral("PATH=") + bin.path(), bin.filePath(command.takeFirst())}
                  << command << out.filePath(names.posixScript())
                  << QStringList(argument).mid(argument.isEmpty()));
    QVERIFY(run.waitForFinished(120'000));
    const QString told = QString::fromUtf8(run.readAllStandardOutput()),
                  warned = QString::fromUtf8(run.readAllStandardError());
    QVERIFY2((status == 0 ? told : warned).contains(line.arg(name)), qPrintable(told + warned));
    for (const QString &each : (told + warned).split(u'\n', Qt::SkipEmptyParts))
        QVERIFY2(each.contains(name), qPrintable(each));
    QCOMPARE(run.exitCode(), status);
    QCOMPARE(filesIn(out.path()), expected);
    if (expected.contains(name))
        QCOMPARE(readTestFile(out.filePath(name)), damage == u"taken" ? "keep" : source);
}

QTEST_GUILESS_MAIN(PosixScriptTest)
#include "tst_posixscript.moc"
