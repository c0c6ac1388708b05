#include "ScriptReplay.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "sets/JoinRecipe.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class RestoreScriptTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scriptBytes_data();
    void scriptBytes();
    void everyScriptRebuildsItsSource_data();
    void everyScriptRebuildsItsSource();

private:
    // Splits a file of the given name into 1-byte pieces in out; returns the source bytes.
    static QByteArray splitIntoPieces(const QString &name, int pieces, const QString &out);
};

QByteArray RestoreScriptTest::splitIntoPieces(const QString &name, int pieces, const QString &out) {
    QTemporaryDir in;
    QByteArray source = patternBytes(pieces, 3);
    writeTestFile(in.filePath(name), source);
    splitOneFile(in.filePath(name), out, QStringLiteral("2"));
    return source;
}

void RestoreScriptTest::scriptBytes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<QByteArray>("script");

    QTest::addRow("three pieces") << QStringLiteral("report.doc") << 3
                                  << QByteArray("copy /b \"report.doc.1\" + \"report.doc.2\" + "
                                                "\"report.doc.3\"  \"report.doc\"\r\n"
                                                "echo report.doc has been restored\r\n");
    QTest::addRow("one piece") << QStringLiteral("report.doc") << 1
                               << QByteArray("copy /b \"report.doc.1\"  \"report.doc\"\r\n"
                                             "echo report.doc has been restored\r\n");
    QTest::addRow("blanks") << QStringLiteral("my file.txt") << 2
                            << QByteArray("copy /b \"my file.txt.1\" + \"my file.txt.2\"  "
                                          "\"my file.txt\"\r\n"
                                          "echo my file.txt has been restored\r\n");
    QTest::addRow("percent, ampersand, caret, parentheses")
        << QStringLiteral("100% & (x^y).txt") << 1
        << QByteArray("copy /b \"100%% & (x^y).txt.1\"  \"100%% & (x^y).txt\"\r\n"
                      "echo 100%% ^& ^(x^^y^).txt has been restored\r\n");
    QTest::addRow("a name that is a command")
        << QStringLiteral("x&del y&.txt") << 1
        << QByteArray("copy /b \"x&del y&.txt.1\"  \"x&del y&.txt\"\r\n"
                      "echo x^&del y^&.txt has been restored\r\n");
    QTest::addRow("non-ASCII name switches the console to UTF-8")
        << QStringLiteral("résumé €.txt") << 2
        << QByteArray("@chcp 65001 >nul\r\n"
                      "copy /b \"r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac.txt.1\" + "
                      "\"r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac.txt.2\"  "
                      "\"r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac.txt\"\r\n"
                      "echo r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac.txt has been restored\r\n");
}

void RestoreScriptTest::scriptBytes() {
    QFETCH(QString, name);
    QFETCH(int, pieces);
    QFETCH(QByteArray, script);
    QTemporaryDir out;

    const QByteArray source = splitIntoPieces(name, pieces, out.path());

    QCOMPARE(readTestFile(out.filePath(name + QStringLiteral(".bat"))), script);
    const ScriptReplay replay = replayScript(out.path(), name + QStringLiteral(".bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QVERIFY(replay.joined.value(name) == source);
    QCOMPARE(replay.echoed, name + QStringLiteral(" has been restored"));
}

namespace {

// Length of the join of n pieces written as one copy line.
qsizetype oneLineJoinBytes(const QString &name, int pieces) {
    QStringList terms;
    for (int i = 1; i <= pieces; ++i)
        terms << u'"' + name + u'.' + QString::number(i) + u'"';
    return (QStringLiteral("copy /b ") + terms.join(QStringLiteral(" + ")) +
            QStringLiteral("  \"") + name + u'"')
        .toUtf8()
        .size();
}

int mostPiecesOnOneLine(const QString &name, qsizetype bytes = 8190) {
    int pieces = 1;
    while (oneLineJoinBytes(name, pieces + 1) <= bytes)
        ++pieces;
    return pieces;
}

// A name whose longest one-line join within bytes is exactly that long; 8190 is the most the
// shell reads.
QString nameFillingALineExactly(qsizetype bytes = 8190) {
    for (QString name = QStringLiteral("a"); name.size() < 100; name += u'a') {
        if (oneLineJoinBytes(name, mostPiecesOnOneLine(name, bytes)) == bytes)
            return name;
    }
    return {};
}

} // namespace

void RestoreScriptTest::everyScriptRebuildsItsSource_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<int>("copyLines"); // 0: more than one, however many it takes

    const QString plain = QStringLiteral("a.bin");
    const int fits = mostPiecesOnOneLine(plain);
    QTest::addRow("longest join that fits one line (%d pieces)", fits) << plain << fits << 1;
    QTest::addRow("one piece more takes two lines") << plain << fits + 1 << 2;
    const QString exact = nameFillingALineExactly();
    QTest::addRow("a line of exactly 8190 bytes") << exact << mostPiecesOnOneLine(exact) << 1;
    const QString over = nameFillingALineExactly(8191);
    QTest::addRow("a join of 8191 bytes takes two lines")
        << over << mostPiecesOnOneLine(over, 8191) << 2;
    QTest::addRow("1000 pieces") << plain << 1000 << 2;
    QTest::addRow("3000 pieces, escaped long name")
        << QStringLiteral("100%% done & (final) ").repeated(8) + QStringLiteral(".iso") << 3000
        << 0;
    QTest::addRow("1200 pieces, non-ASCII name measured in bytes")
        << QStringLiteral("Ωμέγα-").repeated(20) + QStringLiteral(".dat") << 1200 << 0;
}

void RestoreScriptTest::everyScriptRebuildsItsSource() {
    QFETCH(QString, name);
    QFETCH(int, pieces);
    QFETCH(int, copyLines);
    QTemporaryDir out;

    const QByteArray source = splitIntoPieces(name, pieces, out.path());

    const ScriptReplay replay = replayScript(out.path(), name + QStringLiteral(".bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QVERIFY(replay.joined.value(name) == source);
    QCOMPARE(replay.echoed, name + QStringLiteral(" has been restored"));
    const int chcpLines = name.toUtf8().size() == name.size() ? 0 : 1;
    if (copyLines > 0)
        QCOMPARE(replay.lineCount, chcpLines + copyLines + 1);
    else
        QVERIFY(replay.lineCount > chcpLines + 2);
    // And a join here reads it as the shell does.
    QCOMPARE(
        joinRecipeFor(out.filePath(name + QStringLiteral(".bat")), FileSystem::system()).pieceCount,
        pieces);
}

QTEST_GUILESS_MAIN(RestoreScriptTest)
#include "tst_restorescript.moc"
