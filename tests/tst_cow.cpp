#include "FaultyFileSystem.h"
#include "LoopMount.h"
#include "Splitting.h"
#include "TestFiles.h"
#include "join/JoinRun.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <span>
#include <vector>

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr qint64 kMiB = qint64(1) << 20;

// Whether every byte of the file at path lies in blocks it shares with another file.
bool sharesAllBlocks(const QString &path) {
    QFile file(path);
    std::vector<char> space(sizeof(fiemap) + 64 * sizeof(fiemap_extent));
    auto *map = reinterpret_cast<fiemap *>(space.data());
    map->fm_length = FIEMAP_MAX_OFFSET;
    map->fm_flags = FIEMAP_FLAG_SYNC;
    map->fm_extent_count = 64;
    if (!file.open(QIODevice::ReadOnly) || ::ioctl(file.handle(), FS_IOC_FIEMAP, map) != 0)
        return false;
    quint64 covered = 0;
    for (const fiemap_extent &extent : std::span(map->fm_extents, map->fm_mapped_extents)) {
        if ((extent.fe_flags & FIEMAP_EXTENT_SHARED) == 0 || extent.fe_logical != covered)
            return false;
        covered += extent.fe_length;
    }
    return covered >= quint64(file.size());
}

struct statvfs volumeOf(const QString &path) {
    ::sync();
    struct statvfs volume {};
    ::statvfs(QFile::encodeName(path).constData(), &volume);
    return volume;
}

// The bytes the volume at path holds, once everything written is on it.
qint64 usedBytes(const QString &path) {
    const struct statvfs volume = volumeOf(path);
    return qint64(volume.f_blocks - volume.f_bfree) * qint64(volume.f_frsize);
}

// The bytes free there for anyone.
qint64 freeBytes(const QString &path) {
    const struct statvfs volume = volumeOf(path);
    return qint64(volume.f_bavail) * qint64(volume.f_frsize);
}

} // namespace

class TestCow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aligned_data();
    void aligned();
};

void TestCow::aligned_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("mkfsOptions");
    QTest::addColumn<QString>("run");
    for (const QStringList &volume :
         {QStringList{QStringLiteral("btrfs"), QStringLiteral("-f")},
          QStringList{QStringLiteral("xfs"), QStringLiteral("-f"), QStringLiteral("-m"),
                      QStringLiteral("reflink=1")}})
        for (const char *run : {"split", "split with list", "split of odd pieces",
                                "split with less room than the file", "checked join",
                                "damaged piece", "refused clone", "piece from another volume"})
            QTest::addRow("%s: %s", qPrintable(volume[0]), run)
                << volume[0] << volume.mid(1) << QString::fromLatin1(run);
}

// Aligned pieces share the source's blocks, a checked join shares the pieces', neither taking
// room of its own; a damaged piece, or a clone the volume refuses, is named and leaves nothing.
void TestCow::aligned() {
    QFETCH(QString, type);
    QFETCH(QStringList, mkfsOptions);
    QFETCH(QString, run);
    const LoopMount volume(type, mkfsOptions, 512 * kMiB);
    if (!volume.isMounted())
        QSKIP(qPrintable(volume.skipReason()));
    const QString out = volume.path() + QStringLiteral("/pieces/"),
                  joined = out + QStringLiteral("big");
    const QByteArray bytes = patternBytes(8 * kMiB + 1234);
    SplitSetup split;
    split.add(volume.path() + QStringLiteral("/big"));
    writeTestFile(split.queue.first().path, bytes);
    QVERIFY(QDir().mkpath(out));
    split.folder = out;
    const bool odd = run == QStringLiteral("split of odd pieces");
    split.size = odd ? QStringLiteral("1048576") : QStringLiteral("1048576.5"); // of 1 MiB
    if (run == QStringLiteral("split"))
        split.leftOut << OutputNames::Kind::Checksums;
    if (run == QStringLiteral("split with less room than the file")) {
        // The room left is the least that the list and the last piece take.
        QFile filler(volume.path() + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        QCOMPARE(::posix_fallocate(filler.handle(), 0, freeBytes(out) - 2 * kMiB), 0);
        QCOMPARE_LT(freeBytes(out), bytes.size());
    }
    qint64 before = usedBytes(out);
    const SplitResult cut = split.run();
    QVERIFY(cut.outcome == RunOutcome::Done);
    if (run.startsWith(QStringLiteral("split"))) {
        // What the split says of the space its pieces take is what they take.
        QCOMPARE(cut.filesSharingBlocks, odd ? 0 : 1);
        QCOMPARE(usedBytes(out) - before < kMiB, !odd);
        for (int piece = 1; piece <= 9; ++piece)
            QCOMPARE(sharesAllBlocks(joined + u'.' + QString::number(piece)), !odd);
        return;
    }
    const QString damaged = joined + QStringLiteral(".3");
    QFile piece(damaged);
    if (run == QStringLiteral("damaged piece"))
        QVERIFY(piece.open(QIODevice::ReadWrite) && piece.seek(4096) && piece.write("!", 1) == 1);
    piece.close();
    FaultyFileSystem faults; // the trial of sharing is the first clone, the second piece's third
    if (run == QStringLiteral("refused clone"))
        faults.fail(FaultyFileSystem::Call::Clone, ENOSPC, 3);
    if (run == QStringLiteral("piece from another volume")) // it is copied, as are the others
        faults.fail(FaultyFileSystem::Call::Clone, EXDEV, 3);
    const QStringList files = filesIn(out);
    before = usedBytes(out);
    const JoinResult result = [&] { // its lock goes with the plan
        Yes yes;
        ProgressSink progress;
        return JoinRun(planJoin(joined + QStringLiteral(".1"), testWork(yes, faults)), progress,
                       StopRequest())
            .run();
    }();
    if (run == QStringLiteral("piece from another volume")) {
        QVERIFY(result.outcome == RunOutcome::Done);
        QCOMPARE(readTestFile(joined), bytes);
        return;
    }
    if (run == QStringLiteral("checked join")) {
        QVERIFY(result.outcome == RunOutcome::Done && sharesAllBlocks(joined));
        QCOMPARE_LT(usedBytes(out) - before, kMiB);
        QCOMPARE(readTestFile(joined), bytes);
        return;
    }
    QVERIFY(result.failure);
    QCOMPARE(result.failure->path(), run == QStringLiteral("damaged piece") ? damaged : joined);
    QCOMPARE(result.failure->systemError(), run == QStringLiteral("damaged piece") ? 0 : ENOSPC);
    QCOMPARE(filesIn(out), files);
}

QTEST_GUILESS_MAIN(TestCow)
#include "tst_cow.moc"
