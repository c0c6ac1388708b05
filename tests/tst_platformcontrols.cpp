#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "MessageRecorder.h"
#include "Numeric.h"
#include "PathLabel.h"
#include "TestFiles.h"
#include "TmpfsMount.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class PlatformControlsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numericTest_data();
    void numericTest();
    void messageTitleDefaultsToTheProgram();
    void questionAnswersNoUnlessYesIsChosen_data();
    void questionAnswersNoUnlessYesIsChosen();
    void folderListShowsParentsThenSubfolders();
    void folderListOpensOnDoubleClickAndEnter();
    void folderListPathForms_data();
    void folderListPathForms();
    void fileListShowsFilesOnly();
    void driveListStartsAtTheRootVolume();
    void driveListFindsTheVolumeHoldingAPath();
    void fileListFollowsTheDisk();
    void folderListFollowsTheDisk();
    void folderListGivesWayWhenItsFolderGoes();
    void driveListFollowsMounts();
    void longPathKeepsItsFolderName_data();
    void longPathKeepsItsFolderName();

private:
    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }
    static QStringList pathsShown(const FolderList &list);
    static QStringList textsShown(const QListWidget &list);
    static QStringList drivesShown(const DriveList &list);
};

void PlatformControlsTest::numericTest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");
    QTest::addRow("whole") << QStringLiteral("500") << true << 500.0;
    QTest::addRow("fraction") << QStringLiteral("2.5") << true << 2.5;
    QTest::addRow("negative") << QStringLiteral("-7") << true << -7.0;
    QTest::addRow("exponent") << QStringLiteral("1e3") << true << 1000.0;
    QTest::addRow("blanks around") << QStringLiteral(" 42 ") << true << 42.0;
    QTest::addRow("empty") << QString() << false << 0.0;
    QTest::addRow("blank") << QStringLiteral("  ") << false << 0.0;
    QTest::addRow("letters") << QStringLiteral("abc") << false << 0.0;
    QTest::addRow("number then letters") << QStringLiteral("12kb") << false << 0.0;
    QTest::addRow("not a number") << QStringLiteral("nan") << false << 0.0;
    QTest::addRow("infinity") << QStringLiteral("inf") << false << 0.0;
    QTest::addRow("beyond double") << QStringLiteral("1e400") << false << 0.0;
}

void PlatformControlsTest::numericTest() {
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    QCOMPARE(toNumber(text).has_value(), numeric);
    if (numeric)
        QCOMPARE(*toNumber(text), value);
}

void PlatformControlsTest::messageTitleDefaultsToTheProgram() {
    MessageRecorder recorder;
    showMessage(QStringLiteral("plain"));
    showMessage(QStringLiteral("titled"), MessageIcon::Error, QStringLiteral("Own title"));
    const QList<Message> expected{
        {QStringLiteral("plain"), MessageIcon::None, QStringLiteral("Tessary")},
        {QStringLiteral("titled"), MessageIcon::Error, QStringLiteral("Own title")}};
    QCOMPARE(recorder.messages, expected);
}

void PlatformControlsTest::questionAnswersNoUnlessYesIsChosen_data() {
    QTest::addColumn<int>("key");
    QTest::addRow("Enter") << int(Qt::Key_Return);
    QTest::addRow("Escape") << int(Qt::Key_Escape);
}

void PlatformControlsTest::questionAnswersNoUnlessYesIsChosen() {
    QFETCH(int, key);
    // The real box, answered by a key once it is up: a hasty Enter joins nothing.
    QTimer::singleShot(0, qApp, [key] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key(key));
    });

    QVERIFY(!askYesNo(QStringLiteral("Join them into report.doc?"), QStringLiteral("Join Files")));
}

QStringList PlatformControlsTest::pathsShown(const FolderList &list) {
    QStringList paths;
    for (int i = 0; i < list.count(); ++i)
        paths << list.item(i)->data(Qt::UserRole).toString();
    return paths;
}

void PlatformControlsTest::folderListShowsParentsThenSubfolders() {
    QTemporaryDir dir;
    const QString current = dir.filePath(QStringLiteral("a/b"));
    for (const char *sub : {"c", "D", "e", ".hidden"})
        QDir(current).mkpath(QString::fromLatin1(sub));
    writeTestFile(QDir(current).filePath(QStringLiteral("file.txt")), "not a folder");
    FolderList list;

    list.setPath(current);

    QStringList expected;
    QDir up(current);
    do {
        expected.prepend(native(up.absolutePath()));
    } while (up.cdUp());
    const qsizetype chain = expected.size();
    for (const char *sub : {"c", "D", "e"})
        expected << native(QDir(current).filePath(QString::fromLatin1(sub)));
    QCOMPARE(pathsShown(list), expected);
    QCOMPARE(list.currentRow(), chain - 1);
    QCOMPARE(list.item(0)->text().trimmed(), native(QDir::rootPath()));
    QCOMPARE(list.item(int(chain))->text().trimmed(), QStringLiteral("c"));
}

void PlatformControlsTest::folderListOpensOnDoubleClickAndEnter() {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("inner"));
    FolderList list;
    list.resize(300, 600);
    list.setPath(dir.path());
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changed(&list, &FolderList::pathChanged);
    const QList<QListWidgetItem *> inner =
        list.findItems(QStringLiteral("inner"), Qt::MatchEndsWith);
    QCOMPARE(inner.size(), 1);

    list.scrollToItem(inner.first());
    const QPoint centre = list.visualItemRect(inner.first()).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(list.path(), native(dir.filePath(QStringLiteral("inner"))));
    QCOMPARE(changed.size(), 1);

    // Enter on the parent above it goes back up.
    list.setCurrentRow(list.currentRow() - 1);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(list.path(), native(dir.path()));
    QCOMPARE(changed.size(), 2);
}

void PlatformControlsTest::folderListPathForms_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("shown");
    const QString root = native(QDir::rootPath());
    QTest::addRow("root keeps its separator") << QDir::rootPath() << root;
    QTest::addRow("trailing separator dropped")
        << QDir::tempPath() + u'/' << native(QDir::tempPath());
    QTest::addRow("dot segments resolved")
        << QDir::tempPath() + QStringLiteral("/./x/..") << native(QDir::tempPath());
    QTest::addRow("vanished folder gives way to its parent")
        << QDir::tempPath() + QStringLiteral("/tessary-no-such-folder/below")
        << native(QDir::tempPath());
}

void PlatformControlsTest::folderListPathForms() {
    QFETCH(QString, given);
    QFETCH(QString, shown);
    FolderList list;
    QSignalSpy changed(&list, &FolderList::pathChanged);
    list.setPath(given);
    QCOMPARE(list.path(), shown);
    list.setPath(given); // the same folder again is read again and reported again
    QCOMPARE(changed.size(), 2);
}

void PlatformControlsTest::fileListShowsFilesOnly() {
    QTemporaryDir dir;
    for (const char *name : {"b.txt", "A.bin", "c", ".hidden"})
        writeTestFile(dir.filePath(QString::fromLatin1(name)), "x");
    QDir(dir.path()).mkpath(QStringLiteral("folder"));
    FileList list;
    list.setPath(dir.path());

    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    QCOMPARE(shown,
             (QStringList{QStringLiteral("A.bin"), QStringLiteral("b.txt"), QStringLiteral("c")}));
    QCOMPARE(list.selectedFileName(), QString());
    list.setCurrentRow(1);
    QCOMPARE(list.selectedFileName(), QStringLiteral("b.txt"));

    list.setPath(dir.filePath(QStringLiteral("folder")));
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.selectedFileName(), QString());
}

void PlatformControlsTest::driveListStartsAtTheRootVolume() {
    const DriveList drives;
    const QList<DriveList::Drive> mounted = DriveList::mountedDrives();
    QVERIFY(!mounted.isEmpty());
    // Other tests mount and unmount volumes meanwhile; the list follows them.
    const auto mountedRoots = [] {
        QStringList roots;
        for (const DriveList::Drive &drive : DriveList::mountedDrives())
            roots << drive.root;
        return roots;
    };
    QTRY_COMPARE(drivesShown(drives), mountedRoots());
#ifndef Q_OS_WIN
    QCOMPARE(mounted.first().root, native(QDir::rootPath()));
#endif
    QCOMPARE(drives.drive(), mounted.first().root);
    for (const DriveList::Drive &drive : mounted) {
        QVERIFY2(drive.root.endsWith(QDir::separator()), qPrintable(drive.root));
        QVERIFY2(!drive.root.startsWith(QStringLiteral("/proc")), qPrintable(drive.root));
        QVERIFY2(!drive.root.startsWith(QStringLiteral("/sys")), qPrintable(drive.root));
    }
    QVERIFY(drives.itemText(0).startsWith(mounted.first().root));
}

void PlatformControlsTest::driveListFindsTheVolumeHoldingAPath() {
    QTemporaryDir dir;
    const QString root = native(QDir::rootPath());
    const QString outer = native(dir.path()) + QDir::separator();
    const QString inner = native(dir.filePath(QStringLiteral("inner"))) + QDir::separator();
    DriveList drives;
    drives.setDrives({{root, QStringLiteral("system")}, {outer, {}}, {inner, {}}});
    QCOMPARE(drives.itemText(0), root + QStringLiteral(" [system]"));
    QSignalSpy changed(&drives, &DriveList::driveChanged);

    drives.setDrive(dir.filePath(QStringLiteral("inner/deeper")));
    QCOMPARE(drives.drive(), inner);
    drives.setDrive(dir.filePath(QStringLiteral("inner-not")));
    QCOMPARE(drives.drive(), outer);
    drives.setDrive(native(dir.path()));
    QCOMPARE(drives.drive(), outer);
    QCOMPARE(changed.size(), 2); // the last one changed nothing

    // A caption that holds no path falls back to the system drive.
    drives.setDrive(QStringLiteral("Label1"));
    QCOMPARE(drives.drive(), root);
    QCOMPARE(changed.size(), 3);
}

QStringList PlatformControlsTest::textsShown(const QListWidget &list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

QStringList PlatformControlsTest::drivesShown(const DriveList &list) {
    QStringList roots;
    for (int i = 0; i < list.count(); ++i)
        roots << list.itemData(i).toString();
    return roots;
}

void PlatformControlsTest::fileListFollowsTheDisk() {
    QTemporaryDir dir;
    writeTestFile(dir.filePath(QStringLiteral("b.txt")), "b");
    FileList list;
    list.setPath(dir.path());
    list.setCurrentRow(0);

    writeTestFile(dir.filePath(QStringLiteral("a.txt")), "a");
    QTRY_COMPARE(textsShown(list), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
    QCOMPARE(list.selectedFileName(), QStringLiteral("b.txt")); // moved down a row, still chosen

    QVERIFY(QFile::rename(dir.filePath(QStringLiteral("a.txt")),
                          dir.filePath(QStringLiteral("c.txt"))));
    QTRY_COMPARE(textsShown(list), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt")}));
    QCOMPARE(list.selectedFileName(), QStringLiteral("b.txt"));

    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("b.txt"))));
    QTRY_COMPARE(textsShown(list), QStringList{QStringLiteral("c.txt")});
    QCOMPARE(list.selectedFileName(), QString());
    // Keyboard search finds what appeared.
    list.setFocus();
    QTest::keyClicks(&list, QStringLiteral("c"));
    QCOMPARE(list.currentItem()->text(), QStringLiteral("c.txt"));
}

void PlatformControlsTest::folderListFollowsTheDisk() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("b"));
    FolderList list;
    list.setPath(dir.path());
    QSignalSpy changed(&list, &FolderList::pathChanged);
    const QString b = native(dir.filePath(QStringLiteral("b")));
    list.setCurrentRow(int(pathsShown(list).indexOf(b)));

    QDir(dir.path()).mkdir(QStringLiteral("a"));
    QTRY_VERIFY(pathsShown(list).contains(native(dir.filePath(QStringLiteral("a")))));
    QCOMPARE(list.currentItem()->data(Qt::UserRole).toString(), b);

    QVERIFY(QDir(dir.path()).rename(QStringLiteral("a"), QStringLiteral("c")));
    QTRY_VERIFY(pathsShown(list).contains(native(dir.filePath(QStringLiteral("c")))));
    QVERIFY(!pathsShown(list).contains(native(dir.filePath(QStringLiteral("a")))));
    QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("c")));
    QTRY_VERIFY(!pathsShown(list).contains(native(dir.filePath(QStringLiteral("c")))));
    QCOMPARE(list.path(), native(dir.path()));
    QCOMPARE(changed.size(), 0); // the same folder, read again
}

void PlatformControlsTest::folderListGivesWayWhenItsFolderGoes() {
    QTemporaryDir dir;
    const QString deep = dir.filePath(QStringLiteral("one/two"));
    QDir().mkpath(deep);
    FolderList list;
    list.setPath(deep);
    QSignalSpy changed(&list, &FolderList::pathChanged);

    QVERIFY(QDir(dir.filePath(QStringLiteral("one"))).removeRecursively());

    QTRY_COMPARE(list.path(), native(dir.path()));
    QCOMPARE(changed.size(), 1);
}

void PlatformControlsTest::driveListFollowsMounts() {
    DriveList drives;
    QSignalSpy changed(&drives, &DriveList::driveChanged);
    TmpfsMount stick(QStringLiteral("64k"));
    if (!stick.isMounted())
        QSKIP(qPrintable(stick.skipReason()));
    const QString root = native(stick.path()) + QDir::separator();

    QTRY_VERIFY_WITH_TIMEOUT(drivesShown(drives).contains(root), 1000);
    QCOMPARE(changed.size(), 0); // the root volume stays current
    drives.setCurrentIndex(drives.findData(root));
    QCOMPARE(changed.size(), 1);

    QVERIFY(stick.unmount());
    QTRY_VERIFY_WITH_TIMEOUT(!drivesShown(drives).contains(root), 1000);
    QCOMPARE(drives.drive(), DriveList::mountedDrives().first().root);
    QCOMPARE(changed.size(), 2);
}

void PlatformControlsTest::longPathKeepsItsFolderName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shownEnd"); // how what is shown must end
    const QChar sep = QDir::separator();
    const QString longStart = QStringList(12, QStringLiteral("folder")).join(sep);
    QTest::addRow("short path shown whole")
        << native(QStringLiteral("/data/photos")) << native(QStringLiteral("/data/photos"));
    QTest::addRow("long path keeps its start and its folder's name")
        << sep + longStart + sep + QStringLiteral("Holiday 2026")
        << sep + QStringLiteral("Holiday 2026");
    QTest::addRow("a name too long on its own keeps its end")
        << sep + longStart + sep + QString(60, u'n') + QStringLiteral("END")
        << QStringLiteral("nnnEND");
}

void PlatformControlsTest::longPathKeepsItsFolderName() {
    QFETCH(QString, path);
    QFETCH(QString, shownEnd);
    PathLabel label;
    label.resize(200, 20);
    label.setPath(path);

    const QString shown = elidePath(label.text(), label.fontMetrics(), label.width());

    QCOMPARE(label.text(), path);
    QCOMPARE(label.toolTip(), path);
    QVERIFY2(label.fontMetrics().horizontalAdvance(shown) <= label.width(), qPrintable(shown));
    QVERIFY2(shown.endsWith(shownEnd), qPrintable(shown));
    if (shown != path && !shownEnd.startsWith(u'n'))
        QVERIFY2(shown.startsWith(path.left(4)), qPrintable(shown)); // the start stays too
}

QTEST_MAIN(PlatformControlsTest)
#include "tst_platformcontrols.moc"
