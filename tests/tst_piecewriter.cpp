#include "ScriptReplay.h"
#include "Splitting.h"
#include "TestFiles.h"

#include <QDir>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The pieces a byte-by-byte splitter makes: it counts the pending byte before comparing the
// count with the size, starts a new piece once the count reaches the size, and makes no
// piece for a byte that does not exist. Kept deliberately naive as the reference.
QList<qint64> byteLoopPieces(double size, qint64 length) {
    QList<qint64> pieces{0};
    qint64 count = 0;
    for (qint64 pos = 0; pos < length; ++pos) {
        ++count;
        if (pos > 0 && double(count) >= size) {
            pieces.append(0);
            count = 1;
        }
        ++pieces.last();
    }
    return pieces;
}

} // namespace

class PieceWriterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void piecesMatchTheByteLoop_data();
    void piecesMatchTheByteLoop();
    void staleTailOfAnEarlierSplitIsCut();
    void everyCopyMethodGivesTheSameBytes_data();
    void everyCopyMethodGivesTheSameBytes();

private:
    static void verifyPieces(const QString &out, const QString &name, const QByteArray &source,
                             const QList<qint64> &expected);
};

void PieceWriterTest::verifyPieces(const QString &out, const QString &name,
                                   const QByteArray &source, const QList<qint64> &expected) {
    QStringList expectedFiles{name + QStringLiteral(".bat"), name + QStringLiteral(".sh"),
                              name + QStringLiteral(".sha256")};
    qint64 offset = 0;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QString piece = name + u'.' + QString::number(i + 1);
        expectedFiles << piece;
        const QByteArray bytes = readTestFile(QDir(out).filePath(piece));
        QCOMPARE(bytes.size(), expected[i]);
        QVERIFY2(bytes == source.mid(offset, expected[i]), qPrintable(piece));
        offset += expected[i];
    }
    expectedFiles.sort();
    QCOMPARE(filesIn(out), expectedFiles);

    const ScriptReplay replay = replayScript(out, name + QStringLiteral(".bat"));
    QVERIFY2(replay.error.isEmpty(), qPrintable(replay.error));
    QVERIFY(replay.joined.value(name) == source);
}

void PieceWriterTest::piecesMatchTheByteLoop_data() {
    QTest::addColumn<QString>("size");
    QTest::addColumn<qint64>("length");

    QTest::addRow("5 bytes at size 3 give 2, 2, 1") << QStringLiteral("3") << qint64(5);
    QTest::addRow("empty source gives one empty piece") << QStringLiteral("100") << qint64(0);
    QTest::addRow("S - 1 bytes give one piece") << QStringLiteral("100") << qint64(99);
    QTest::addRow("S bytes give two pieces") << QStringLiteral("100") << qint64(100);
    QTest::addRow("two whole pieces, no empty third") << QStringLiteral("100") << qint64(198);
    QTest::addRow("two whole pieces and one byte") << QStringLiteral("100") << qint64(199);
    QTest::addRow("ten and more pieces") << QStringLiteral("3") << qint64(25);
    QTest::addRow("fraction 2.5 gives 2-byte pieces") << QStringLiteral("2.5") << qint64(7);
    QTest::addRow("fraction 1.5 gives 1-byte pieces") << QStringLiteral("1.5") << qint64(4);
    QTest::addRow("size 2 gives 1-byte pieces") << QStringLiteral("2") << qint64(3);
    QTest::addRow("size 1 gives 1-byte pieces") << QStringLiteral("1") << qint64(4);
    QTest::addRow("size 0.5 gives 1-byte pieces") << QStringLiteral("0.5") << qint64(3);
    QTest::addRow("size 0 gives 1-byte pieces") << QStringLiteral("0") << qint64(3);
    QTest::addRow("negative size gives 1-byte pieces") << QStringLiteral("-7") << qint64(3);
    QTest::addRow("1e300 gives one piece") << QStringLiteral("1e300") << qint64(1000);
    QTest::addRow("exponent 1e3 is 1000") << QStringLiteral("1e3") << qint64(2500);
    QTest::addRow("blanks around the number") << QStringLiteral(" 50 ") << qint64(120);
    QTest::addRow("custom 1000 gives 999-byte pieces") << QStringLiteral("1000") << qint64(5000);
    QTest::addRow("100k preset, one byte short") << QStringLiteral("100000") << qint64(99999);
    QTest::addRow("100k preset, exactly 100000") << QStringLiteral("100000") << qint64(100000);
    QTest::addRow("200k preset, several pieces") << QStringLiteral("200000") << qint64(650000);
    QTest::addRow("1.4M preset gives 1399999-byte pieces")
        << QStringLiteral("1400000") << qint64(2800000);
    QTest::addRow("pieces of 70 MB, starting mid-page")
        << QStringLiteral("70000000") << qint64(150'000'000);
    QTest::addRow("25M preset, one piece") << QStringLiteral("25000000") << qint64(300000);
}

void PieceWriterTest::piecesMatchTheByteLoop() {
    QFETCH(QString, size);
    QFETCH(qint64, length);
    QTemporaryDir in;
    QTemporaryDir out;
    const QByteArray source = patternBytes(length);
    writeTestFile(in.filePath(QStringLiteral("data.bin")), source);

    // More threads than cores, so that pieces finish out of order.
    RunOptions options;
    options.workers = 4;
    splitOneFile(in.filePath(QStringLiteral("data.bin")), out.path(), size, options);

    verifyPieces(out.path(), QStringLiteral("data.bin"), source,
                 byteLoopPieces(size.trimmed().toDouble(), length));
}

void PieceWriterTest::staleTailOfAnEarlierSplitIsCut() {
    QTemporaryDir in;
    QTemporaryDir out;
    const QString name = QStringLiteral("report.doc");
    for (int piece = 1; piece <= 3; ++piece)
        writeTestFile(out.filePath(name + u'.' + QString::number(piece)), patternBytes(500, 9));
    writeTestFile(out.filePath(name + QStringLiteral(".bat")), earlierScript(name, 3));
    const QByteArray source = patternBytes(5);
    writeTestFile(in.filePath(name), source);

    splitOneFile(in.filePath(name), out.path(), QStringLiteral("3"));

    verifyPieces(out.path(), name, source, {2, 2, 1});
}

void PieceWriterTest::everyCopyMethodGivesTheSameBytes_data() {
    QTest::addColumn<CopyMethod>("method");
    QTest::addColumn<bool>("otherFileSystem");
    const std::pair<const char *, CopyMethod> methods[] = {{"kernel copy", CopyMethod::Kernel},
                                                           {"sendfile", CopyMethod::Sendfile},
                                                           {"buffer", CopyMethod::Buffer}};
    for (const auto &[name, method] : methods) {
        QTest::addRow("%s, one file system", name) << method << false;
        // Between file systems the kernel refuses its own copy; the next method takes over.
        QTest::addRow("%s, output on /dev/shm", name) << method << true;
    }
}

void PieceWriterTest::everyCopyMethodGivesTheSameBytes() {
    QFETCH(CopyMethod, method);
    QFETCH(bool, otherFileSystem);
    QTemporaryDir in;
    QTemporaryDir out(otherFileSystem ? QStringLiteral("/dev/shm/tessary-XXXXXX")
                                      : QDir::tempPath() + QStringLiteral("/tessary-XXXXXX"));
    if (otherFileSystem &&
        (!out.isValid() || QStorageInfo(in.path()).device() == QStorageInfo(out.path()).device()))
        QSKIP("needs a temporary folder on a second file system (/dev/shm)");
    const QByteArray source = patternBytes(3'000'001);
    writeTestFile(in.filePath(QStringLiteral("big.bin")), source);
    RunOptions options;
    options.copyMethod = method;

    splitOneFile(in.filePath(QStringLiteral("big.bin")), out.path(), QStringLiteral("1000000"),
                 options);

    verifyPieces(out.path(), QStringLiteral("big.bin"), source, {999999, 999999, 999999, 4});
}

QTEST_GUILESS_MAIN(PieceWriterTest)
#include "tst_piecewriter.moc"
