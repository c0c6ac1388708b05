#include "split/PieceCount.h"

#include <QList>
#include <QTest>

// How many pieces a source turns out to have, its pieces copied in any order, whatever length
// it reported.
class PieceCountTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lastPieceFollowsWhatWasCopied_data();
    void lastPieceFollowsWhatWasCopied();
};

namespace {

// A piece copied: its number, the bytes it got, and whether the source holds more after it.
struct Copied {
    qint64 piece;
    qint64 bytes;
    bool goesOn;
};

constexpr qint64 kLength = 10; // bytes a piece may hold

} // namespace

Q_DECLARE_METATYPE(QList<Copied>)

void PieceCountTest::lastPieceFollowsWhatWasCopied_data() {
    QTest::addColumn<qint64>("planned");
    QTest::addColumn<QList<Copied>>("copied"); // in the order the threads finished them
    QTest::addColumn<qint64>("last");
    QTest::addRow("as reported: 25 bytes in three pieces")
        << qint64(3) << QList<Copied>{{1, 10, true}, {2, 10, true}, {3, 5, false}} << qint64(3);
    QTest::addRow("in another order")
        << qint64(3) << QList<Copied>{{3, 5, false}, {1, 10, true}, {2, 10, true}} << qint64(3);
    QTest::addRow("shorter than reported, as sysfs files are")
        << qint64(3) << QList<Copied>{{1, 10, true}, {2, 4, false}, {3, 0, false}} << qint64(2);
    QTest::addRow("its empty piece past the end done first")
        << qint64(3) << QList<Copied>{{3, 0, false}, {1, 10, true}, {2, 4, false}} << qint64(2);
    QTest::addRow("ending exactly on a piece's end: no empty piece after it")
        << qint64(2) << QList<Copied>{{1, 10, false}, {2, 0, false}} << qint64(1);
    QTest::addRow("an empty source keeps its one, empty piece")
        << qint64(1) << QList<Copied>{{1, 0, false}} << qint64(1);
    QTest::addRow("longer than reported, as /proc files are")
        << qint64(1) << QList<Copied>{{1, 10, true}, {2, 10, true}, {3, 7, false}} << qint64(3);
    QTest::addRow("a full last piece that nothing follows")
        << qint64(1) << QList<Copied>{{1, 10, false}} << qint64(1);
    QTest::addRow("a full piece before the last says nothing of the end")
        << qint64(3) << QList<Copied>{{1, 10, true}} << qint64(3);
}

void PieceCountTest::lastPieceFollowsWhatWasCopied() {
    QFETCH(qint64, planned);
    QFETCH(QList<Copied>, copied);
    QFETCH(qint64, last);
    PieceCount count(planned);

    for (const Copied &piece : copied)
        count.pieceCopied(piece.piece, piece.bytes, kLength, piece.goesOn);

    QCOMPARE(count.last(), last);
}

QTEST_GUILESS_MAIN(PieceCountTest)
#include "tst_piececount.moc"
