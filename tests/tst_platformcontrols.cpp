#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "MessageRecorder.h"
#include "Numeric.h"
#include "TestFiles.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class PlatformControlsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numericTest_data();
    void numericTest();
    void messageTitleDefaultsToTheProgram();
    void folderListShowsParentsThenSubfolders();
    void folderListOpensOnDoubleClickAndEnter();
    void folderListPathForms_data();
    void folderListPathForms();
    void fileListShowsFilesOnly();
    void driveListStartsAtTheRootVolume();
    void driveListFindsTheVolumeHoldingAPath();

private:
    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }
    static QStringList pathsShown(const FolderList &list);
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
    QCOMPARE(isNumeric(text), numeric);
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
    QCOMPARE(drives.count(), mounted.size());
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

QTEST_MAIN(PlatformControlsTest)
#include "tst_platformcontrols.moc"
