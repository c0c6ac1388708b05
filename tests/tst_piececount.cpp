#include "split/PieceCount.h"
#include "split/PieceNumbers.h"

#include <QList>
#include <QTest>

#include <algorithm>
#include <optional>
#include <random>

// How many pieces a source turns out to have, its pieces copied in any order, whatever length
// it reported; and which piece numbers a folder holds, as its listing gives them.
class PieceCountTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lastPieceFollowsWhatWasCopied_data();
    void lastPieceFollowsWhatWasCopied();
    void everyNumberListedIsFoundInOrder_data();
    void everyNumberListedIsFoundInOrder();
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

namespace {

QList<qint64> run(qint64 first, qint64 last) {
    QList<qint64> numbers;
    for (qint64 number = first; number <= last; ++number)
        numbers << number;
    return numbers;
}

QList<qint64> shuffled(QList<qint64> numbers) {
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
    return numbers;
}

} // namespace

void PieceCountTest::everyNumberListedIsFoundInOrder_data() {
    QTest::addColumn<QList<qint64>>("listed"); // in the order the folder's listing gives them
    QTest::addRow("none") << QList<qint64>{};
    QTest::addRow("a run from the first, in order") << run(1, 5000);
    QTest::addRow("a run from the first, in the listing's order") << shuffled(run(1, 100000));
    QTest::addRow("the highest first") << (QList<qint64>{200000} + run(1, 199999));
    QTest::addRow("with gaps") << shuffled(run(1, 900) + run(2000, 2100) + QList<qint64>{70000});
    QTest::addRow("one far past the rest") << (run(1, 10) + QList<qint64>{999999999999999999});
    QTest::addRow("far ones, that the rest then reaches")
        << (QList<qint64>{100000, 65600, 1} + run(2, 3000));
    QTest::addRow("a number twice, in two spellings") << QList<qint64>{3, 1, 3, 2};
    QTest::addRow("only far ones") << QList<qint64>{5000000, 9000000000, 123456789};
}

void PieceCountTest::everyNumberListedIsFoundInOrder() {
    QFETCH(QList<qint64>, listed);
    PieceNumbers numbers;
    for (const qint64 number : std::as_const(listed))
        numbers.add(number);

    QList<qint64> expected = listed;
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    QList<qint64> found;
    for (std::optional<qint64> number = numbers.firstFrom(1); number;
         number = numbers.firstFrom(*number + 1))
        found << *number;
    QCOMPARE(found, expected);
    for (const qint64 number : std::as_const(expected)) {
        QVERIFY(numbers.contains(number));
        QCOMPARE(numbers.contains(number + 1),
                 std::binary_search(expected.cbegin(), expected.cend(), number + 1));
        QCOMPARE(numbers.firstFrom(number), number);
    }
    QVERIFY(!numbers.contains(0));
}

QTEST_GUILESS_MAIN(PieceCountTest)
#include "tst_piececount.moc"
