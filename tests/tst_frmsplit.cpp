#include "DriveList.h"
#include "FaultyFileSystem.h"
#include "FileDialog.h"
#include "FileList.h"
#include "FileSystemObject.h"
#include "FolderList.h"
#include "JobWindow.h"
#include "MessageRecorder.h"
#include "PathLabel.h"
#include "Rclone.h"
#include "RcloneRemotes.h"
#include "RemoteDestination.h"
#include "StartArguments.h"
#include "TestFiles.h"
#include "TmpfsMount.h"
#include "Twips.h"
#include "frmAbout.h"
#include "frmSplit.h"
#include "frmWait.h"
#include "sizes/SizeTargets.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>
#include <variant>

class FrmSplitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startUp();
    void layout_data();
    void layout();
    void tabOrder();
    void readyDriveOpensAtItsRoot();
    void unreadyDriveIsRefused();
    void addFile();
    void addFileAtTheRoot();
    void addFileWithNothingSelected();
    void removeSelectedEntries();
    void removeWithNothingSelected();
    void splitChecks_data();
    void splitChecks();
    void splitFromTheWindow_data();
    void splitFromTheWindow();
    void refusedSplitIsReported_data();
    void refusedSplitIsReported();
    void failureDuringTheRunIsReported();
    void failureOfTheSourceNamesItOnce();
    void customSizeControlsFollowTheSelection();
    void aboutOpensOneWindow();
    void dropsOnTheWindow_data();
    void dropsOnTheWindow();
    void folderDroppedOnTheOutputBrowserBecomesTheOutputFolder();
    void drivesMountedAndUnmountedFollowInBothLists();
    void pathLabelsShowWholePathsAsTooltips();
    void joinMenuComesBeforeHelp();
    void fileMenuJoinsVerifiesAndWritesChecksums();
    void splitToRemote_data();
    void splitToRemote();
    void splitWithoutChecksums_data();
    void splitWithoutChecksums();
    void verifyFromTheWindow();
    void startArguments_data();
    void startArguments();
    void filesGivenAtStartAreQueuedAsAddFileQueuesThem();
    void joinAndVerifyGivenAtStart();
    void terminalWritesWhatTheWindowWrites();
    void joinFromTheWindow_data();
    void joinFromTheWindow();
    void sizeForChoosesTheCustomEntry_data();
    void sizeForChoosesTheCustomEntry();
    void splitIntoPieces_data();
    void splitIntoPieces();
    void startedWithFilesOpensTheFirstFilesFolder_data();
    void startedWithFilesOpensTheFirstFilesFolder();
    void waitWindowNamesTheRun_data();
    void waitWindowNamesTheRun();
    void everyControlHasAName_data();
    void everyControlHasAName();
    void keys_data();
    void keys();
    void rendersWindowsToPng();

private:
    template <typename T> static T *control(const QWidget &window, const char *name) {
        auto *found = window.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    // Queues the named files of folder through the source browser and Add File.
    static void queueFiles(const frmSplit &window, const QString &folder, const QStringList &names);
    static void selectSize(const frmSplit &window, int row);
    // What the list control of that name shows, entry by entry.
    static QStringList entries(const QWidget &window, const char *name);
    // Splits report.doc, 250,000 bytes of the source folder, into out at the 100k preset.
    void splitReport(const frmSplit &window, const QString &out) const;
    // Waits until the window's runs have ended, their boxes shown; false when one has not
    // within a minute.
    static bool runsEnd(const frmSplit &window);

    // A fresh folder of source files for every test.
    std::unique_ptr<QTemporaryDir> m_source;
    QString sourceFile(const QString &name) const { return m_source->filePath(name); }
};

void FrmSplitTest::init() {
    m_source = std::make_unique<QTemporaryDir>();
}

void FrmSplitTest::cleanup() {
    m_source.reset();
    Scripting::FileSystemObject::setReadinessProbe({});
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void FrmSplitTest::queueFiles(const frmSplit &window, const QString &folder,
                              const QStringList &names) {
    control<FolderList>(window, "Dir1")->setPath(folder);
    auto *files = control<FileList>(window, "flbox1");
    for (const QString &name : names) {
        const QList<QListWidgetItem *> found = files->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        files->setCurrentItem(found.first());
        control<QPushButton>(window, "cmdAdd")->click();
    }
}

void FrmSplitTest::selectSize(const frmSplit &window, int row) {
    control<QListWidget>(window, "List4")->setCurrentRow(row);
}

QStringList FrmSplitTest::entries(const QWidget &window, const char *name) {
    const auto *list = control<QListView>(window, name);
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown << list->model()->index(row, list->modelColumn()).data().toString();
    return shown;
}

void FrmSplitTest::splitReport(const frmSplit &window, const QString &out) const {
    writeTestFile(sourceFile(QStringLiteral("report.doc")), patternBytes(250'000));
    queueFiles(window, m_source->path(), {QStringLiteral("report.doc")});
    control<FolderList>(window, "Dir2")->setPath(out);
    selectSize(window, 1);
    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));
}

bool FrmSplitTest::runsEnd(const frmSplit &window) {
    const auto *jobs = window.findChild<JobWindow *>(QStringLiteral("jobs"));
    return QTest::qWaitFor([jobs] { return !jobs->running(); }, 60'000);
}

void FrmSplitTest::startUp() {
    const frmSplit window;
    const QString root = QDir::toNativeSeparators(QDir::rootPath());

    QCOMPARE(window.windowTitle(), QStringLiteral("Tessary"));
    QCOMPARE(control<QLabel>(window, "lblPath")->text(), root);
    QCOMPARE(control<QLabel>(window, "lblPath2")->text(), root);
    QCOMPARE(control<FolderList>(window, "Dir1")->path(), root);
    QCOMPARE(control<FolderList>(window, "Dir2")->path(), root);
    QStringList shown;
    const auto *files = control<FileList>(window, "flbox1");
    for (int i = 0; i < files->count(); ++i)
        shown << files->item(i)->text();
    QCOMPARE(shown, QDir(root).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));

    const auto *sizes = control<QListWidget>(window, "List4");
    const auto *values = control<QListWidget>(window, "List5");
    QCOMPARE(sizes->count(), 16);
    QCOMPARE(values->count(), 16);
    QVERIFY(sizes->selectedItems().isEmpty());
    QCOMPARE(sizes->item(0)->text(), QStringLiteral("Custom Size"));
    QCOMPARE(values->item(0)->text(), QStringLiteral("0"));
    QCOMPARE(sizes->item(4)->text(), QStringLiteral("1.4M"));
    QCOMPARE(values->item(4)->text(), QStringLiteral("1400000"));
    QCOMPARE(sizes->item(15)->text(), QStringLiteral("450M"));
    QCOMPARE(values->item(15)->text(), QStringLiteral("450000000"));
    QVERIFY(control<QLabel>(window, "Label4")->isHidden());
    QVERIFY(control<QLineEdit>(window, "txtCustomSize")->isHidden());
    QVERIFY(control<QListView>(window, "List3")->isHidden());
    QVERIFY(values->isHidden());
    QVERIFY(entries(window, "List1").isEmpty());
}

void FrmSplitTest::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text"); // its caption, where it has one
    auto row = [](const char *name, const char *text = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text);
    };
    for (const char *name : {"Drive1", "flbox1", "Dir1", "lblPath", "List1", "Drive2", "Dir2",
                             "lblPath2", "List4", "txtCustomSize"})
        row(name);
    row("Label1", "Files to Convert");
    row("cmdAdd", "Add File");
    row("Label2", "Output Directory:");
    row("cmdRemove", "Remove File");
    row("Label3", "Output File Size");
    row("Label4", "Custom Size Bytes");
    row("cmdSplit", "Split Files");
}

void FrmSplitTest::layout() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    frmSplit window;
    const auto *widget = window.findChild<QWidget *>(name);
    QVERIFY(widget);
    const auto *client = control<QWidget>(window, "client");
    QVERIFY(QRect(QPoint(), client->minimumSize()).contains(widget->geometry()));
    // What it shows of itself: a caption's text, drawn from its top, or the whole control.
    const auto shownPart = [](const QWidget *control) {
        const QString caption = control->property("text").toString();
        if (!qobject_cast<const QLabel *>(control) || caption.isEmpty())
            return control->geometry();
        return QRect(control->pos(), control->fontMetrics().size(Qt::TextSingleLine, caption))
            .intersected(control->geometry());
    };
    for (const QWidget *other : client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (other != widget && !other->isHidden() && !widget->isHidden())
            QVERIFY2(!shownPart(other).intersects(shownPart(widget)),
                     qPrintable(other->objectName()));
    }
    if (!text.isEmpty()) {
        QCOMPARE(widget->property("text").toString(), text);
        // The caption is readable: it fits its control in the font the window chose.
        QVERIFY(widget->fontMetrics().horizontalAdvance(text) <= widget->width());
        QVERIFY(widget->fontMetrics().height() <= widget->height());
    }

    // Resizing the window moves nothing.
    const QRect before = widget->geometry();
    window.resize(window.size() + QSize(200, 150));
    QCOMPARE(widget->geometry(), before);
}

void FrmSplitTest::tabOrder() {
    // Tab reaches every control the user works, once a round, and never a hidden list.
    frmSplit window;
    const QStringList worked{QStringLiteral("Drive1"), QStringLiteral("flbox1"),
                             QStringLiteral("Dir1"),   QStringLiteral("List1"),
                             QStringLiteral("cmdAdd"), QStringLiteral("Drive2"),
                             QStringLiteral("Dir2"),   QStringLiteral("cmdRemove"),
                             QStringLiteral("List4"),  QStringLiteral("cmdSplit")};
    QStringList reached;
    QWidget *start = control<QWidget>(window, "Drive1");
    QWidget *widget = start;
    do {
        if (widget->focusPolicy() & Qt::TabFocus && !widget->objectName().isEmpty())
            reached << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != start);
    for (const QString &name : worked)
        QCOMPARE(reached.count(name), 1);
    for (const char *hidden : {"List3", "List5"})
        QVERIFY(!reached.contains(QString::fromLatin1(hidden)));
}

void FrmSplitTest::readyDriveOpensAtItsRoot() {
    MessageRecorder recorder;
    Scripting::FileSystemObject::setReadinessProbe([](const QString &) { return true; });
    const frmSplit window;
    const QString otherRoot = QDir::toNativeSeparators(m_source->path()) + QDir::separator();
    QDir(m_source->path()).mkpath(QStringLiteral("deep/inside"));
    writeTestFile(sourceFile(QStringLiteral("on-the-drive.txt")), "x");
    for (const char *browser : {"1", "2"}) {
        auto *drives = control<DriveList>(
            window, qPrintable(QStringLiteral("Drive") + QLatin1String(browser)));
        auto *folders =
            control<FolderList>(window, qPrintable(QStringLiteral("Dir") + QLatin1String(browser)));
        drives->setDrives({{QDir::toNativeSeparators(QDir::rootPath()), {}}, {otherRoot, {}}});
        drives->setCurrentIndex(1);
        QCOMPARE(folders->path(), QDir::toNativeSeparators(m_source->path()));

        // Back on the first drive and again on this one: its root, not the folder last seen.
        folders->setPath(sourceFile(QStringLiteral("deep/inside")));
        drives->setCurrentIndex(0);
        QCOMPARE(folders->path(), QDir::toNativeSeparators(QDir::rootPath()));
        drives->setCurrentIndex(1);
        QCOMPARE(folders->path(), QDir::toNativeSeparators(m_source->path()));
    }
    QCOMPARE(control<QLabel>(window, "lblPath")->text(),
             QDir::toNativeSeparators(m_source->path()));
    QCOMPARE(control<QLabel>(window, "lblPath2")->text(),
             QDir::toNativeSeparators(m_source->path()));
    QCOMPARE(control<FileList>(window, "flbox1")->count(), 1);
    QVERIFY(recorder.messages.isEmpty());
}

void FrmSplitTest::unreadyDriveIsRefused() {
    MessageRecorder recorder;
    const frmSplit window;
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    const QString unready = QDir::toNativeSeparators(m_source->path()) + QDir::separator();
    Scripting::FileSystemObject::setReadinessProbe(
        [&](const QString &drive) { return drive != unready; });
    auto *drives = control<DriveList>(window, "Drive1");
    drives->setDrives({{root, {}}, {unready, {}}});

    drives->setCurrentIndex(1);

    const Message refused{QStringLiteral("Drive not Available"), MessageIcon::Exclamation,
                          QStringLiteral("Directory Information")};
    QCOMPARE(recorder.messages, QList<Message>{refused});
    QCOMPARE(drives->drive(), root);
    QCOMPARE(control<FolderList>(window, "Dir1")->path(), root);
    QCOMPARE(control<QLabel>(window, "lblPath")->text(), root);
    QCOMPARE(control<FileList>(window, "flbox1")->path(), root);
}

void FrmSplitTest::addFile() {
    const frmSplit window;
    writeTestFile(sourceFile(QStringLiteral("report.doc")), "r");
    writeTestFile(sourceFile(QStringLiteral("photo.jpg")), "p");

    queueFiles(
        window, m_source->path(),
        {QStringLiteral("report.doc"), QStringLiteral("photo.jpg"), QStringLiteral("report.doc")});

    const QStringList paths = entries(window, "List1");
    const QStringList names = entries(window, "List3");
    const QString folder = QDir::toNativeSeparators(m_source->path()) + QDir::separator();
    QCOMPARE(paths.size(), 3);
    QCOMPARE(names.size(), 3);
    QCOMPARE(paths[0], folder + QStringLiteral("report.doc"));
    QCOMPARE(paths[1], folder + QStringLiteral("photo.jpg"));
    QCOMPARE(paths[2], folder + QStringLiteral("report.doc"));
    QCOMPARE(names[1], QStringLiteral("photo.jpg"));
    // To a screen reader too, one entry per file, its path; the names stay out of its way.
    const QAccessibleInterface *queue =
        QAccessible::queryAccessibleInterface(control<QListView>(window, "List1"));
    QStringList spoken;
    for (int i = 0; i < queue->childCount(); ++i)
        spoken << queue->child(i)->text(QAccessible::Name);
    QCOMPARE(spoken, paths);
    auto *hidden = QAccessible::queryAccessibleInterface(control<QListView>(window, "List3"));
    QCOMPARE(hidden->parent()->indexOfChild(hidden), -1);
}

void FrmSplitTest::addFileAtTheRoot() {
    const frmSplit window;
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    const QStringList rootFiles = QDir(root).entryList(QDir::Files, QDir::Name);
    if (rootFiles.isEmpty())
        QSKIP("the system root holds no file to queue");

    queueFiles(window, root, {rootFiles.first()});

    QCOMPARE(entries(window, "List1").value(0), root + rootFiles.first());
}

void FrmSplitTest::addFileWithNothingSelected() {
    MessageRecorder recorder;
    const frmSplit window;
    control<FolderList>(window, "Dir1")->setPath(m_source->path());

    control<QPushButton>(window, "cmdAdd")->click();

    const Message expected{QStringLiteral("select a file to copy"), MessageIcon::None,
                           QStringLiteral("Tessary")};
    QCOMPARE(recorder.messages, QList<Message>{expected});
    QCOMPARE(entries(window, "List1").size(), 0);
}

void FrmSplitTest::removeSelectedEntries() {
    MessageRecorder recorder;
    const frmSplit window;
    const QStringList names{QStringLiteral("f0"), QStringLiteral("f1"), QStringLiteral("f2"),
                            QStringLiteral("f3"), QStringLiteral("f4")};
    for (const QString &name : names)
        writeTestFile(sourceFile(name), "x");
    queueFiles(window, m_source->path(), names);
    auto *queue = control<QListView>(window, "List1");
    // Each click toggles one entry: 2 is chosen and then let go.
    for (const int row : {0, 2, 1, 3, 2})
        QTest::mouseClick(queue->viewport(), Qt::LeftButton, {},
                          queue->visualRect(queue->model()->index(row, 0)).center());

    control<QPushButton>(window, "cmdRemove")->click();

    const QStringList paths = entries(window, "List1");
    const QStringList bare = entries(window, "List3");
    QCOMPARE(paths.size(), 2);
    QCOMPARE(bare.size(), 2);
    QCOMPARE(bare[0], QStringLiteral("f2"));
    QCOMPARE(bare[1], QStringLiteral("f4"));
    QVERIFY(paths[0].endsWith(QStringLiteral("f2")));
    QVERIFY(paths[1].endsWith(QStringLiteral("f4")));
    QVERIFY(recorder.messages.isEmpty());
}

void FrmSplitTest::removeWithNothingSelected() {
    MessageRecorder recorder;
    const frmSplit window;

    control<QPushButton>(window, "cmdRemove")->click();

    const Message expected{QStringLiteral("No items selected. Nothing Deleted."),
                           MessageIcon::Error, QStringLiteral("Error: No Selected Items")};
    QCOMPARE(recorder.messages, QList<Message>{expected});
}

void FrmSplitTest::splitChecks_data() {
    QTest::addColumn<bool>("queued");
    QTest::addColumn<int>("sizeRow"); // -1: none selected
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("expected"); // the one message shown

    const QString noFiles =
        QStringLiteral("No files to be converted.  You need to add files to be converted");
    const QString noSize = QStringLiteral(
        "No output file size selected.  You need to select the Output File Size you want");
    const QString notNumeric = QStringLiteral("Custom Size is not Numeric.  It must be a number");
    const QString done = QStringLiteral("I am done splitting all of the files");
    QTest::addRow("empty queue, no size: only the queue is named")
        << false << -1 << QString() << noFiles;
    QTest::addRow("empty queue with a size") << false << 1 << QString() << noFiles;
    QTest::addRow("no size selected") << true << -1 << QString() << noSize;
    QTest::addRow("custom size empty") << true << 0 << QString() << notNumeric;
    QTest::addRow("custom size letters") << true << 0 << QStringLiteral("abc") << notNumeric;
    QTest::addRow("custom size 500 starts the run") << true << 0 << QStringLiteral("500") << done;
    QTest::addRow("letters in a hidden box do not matter for a preset")
        << true << 1 << QStringLiteral("abc") << done;
}

void FrmSplitTest::splitChecks() {
    QFETCH(bool, queued);
    QFETCH(int, sizeRow);
    QFETCH(QString, custom);
    QFETCH(QString, expected);
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir out;
    writeTestFile(sourceFile(QStringLiteral("data.bin")), patternBytes(1000));
    if (queued)
        queueFiles(window, m_source->path(), {QStringLiteral("data.bin")});
    control<FolderList>(window, "Dir2")->setPath(out.path());
    control<QLineEdit>(window, "txtCustomSize")->setText(custom);
    if (sizeRow >= 0)
        selectSize(window, sizeRow);

    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.first().text, expected);
    if (expected.startsWith(QStringLiteral("No files"))) {
        QCOMPARE(recorder.messages.first().icon, MessageIcon::Error);
        QCOMPARE(recorder.messages.first().title, QStringLiteral("Error: No selected Items"));
    } else {
        QCOMPARE(recorder.messages.first().icon, MessageIcon::None);
        QCOMPARE(recorder.messages.first().title, QStringLiteral("Tessary"));
    }
    const bool ran = expected.startsWith(QStringLiteral("I am done"));
    QCOMPARE(filesIn(out.path()).isEmpty(), !ran);
}

void FrmSplitTest::splitFromTheWindow_data() {
    QTest::addColumn<int>("sizeRow");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QList<qint64>>("pieces");
    QTest::addRow("custom 1000") << 0 << QStringLiteral("1000") << qint64(2500)
                                 << QList<qint64>{999, 999, 502};
    QTest::addRow("1.4M preset") << 4 << QString() << qint64(3'000'000)
                                 << QList<qint64>{1'399'999, 1'399'999, 200'002};
}

void FrmSplitTest::splitFromTheWindow() {
    QFETCH(int, sizeRow);
    QFETCH(QString, custom);
    QFETCH(qint64, length);
    QFETCH(QList<qint64>, pieces);
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir out;
    const QByteArray source = patternBytes(length);
    writeTestFile(sourceFile(QStringLiteral("report.doc")), source);
    queueFiles(window, m_source->path(), {QStringLiteral("report.doc")});
    control<FolderList>(window, "Dir2")->setPath(out.path());
    selectSize(window, sizeRow);
    control<QLineEdit>(window, "txtCustomSize")->setText(custom);

    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));

    const Message done{QStringLiteral("I am done splitting all of the files"), MessageIcon::None,
                       QStringLiteral("Tessary")};
    QCOMPARE(recorder.messages, QList<Message>{done});
    QByteArray joined;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QByteArray piece =
            readTestFile(out.filePath(QStringLiteral("report.doc.%1").arg(i + 1)));
        QCOMPARE(piece.size(), pieces[i]);
        joined += piece;
    }
    QVERIFY(joined == source);
    QCOMPARE(filesIn(out.path()).size(), pieces.size() + 3); // with the scripts and the list
    QCOMPARE(entries(window, "List1").size(), 1);            // the queue stays
}

void FrmSplitTest::refusedSplitIsReported_data() {
    QTest::addColumn<int>("missing");
    QTest::addRow("one file gone") << 1;
    QTest::addRow("more than the box lists") << 12;
}

void FrmSplitTest::refusedSplitIsReported() {
    QFETCH(int, missing);
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir out;
    QStringList names{QStringLiteral("first.bin")};
    for (int i = 0; i < missing; ++i)
        names << QStringLiteral("gone%1.bin").arg(i, 2, 10, QLatin1Char('0'));
    for (const QString &name : names)
        writeTestFile(sourceFile(name), patternBytes(10));
    queueFiles(window, m_source->path(), names);
    for (const QString &name : names.mid(1))
        QFile::remove(sourceFile(name));
    control<FolderList>(window, "Dir2")->setPath(out.path());
    selectSize(window, 1);

    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.messages.size(), 1);
    const Message &shown = recorder.messages.first();
    QCOMPARE(shown.icon, MessageIcon::Error);
    QCOMPARE(shown.title, QStringLiteral("Error: Split Failed"));
    QVERIFY(shown.text.startsWith(QStringLiteral("The split was not started")));
    QVERIFY(shown.text.endsWith(QStringLiteral("Nothing was written.")));
    const QString firstGone = QDir::toNativeSeparators(sourceFile(names.at(1)));
    QVERIFY(shown.text.contains(firstGone + QStringLiteral(": No such file or directory")));
    // A long list goes on in the details, every entry named there.
    QCOMPARE(shown.details.isEmpty(), missing <= 10);
    if (missing > 10) {
        QVERIFY(shown.text.contains(QStringLiteral("... and %1 more.").arg(missing - 10)));
        QVERIFY(shown.details.contains(QDir::toNativeSeparators(sourceFile(names.last()))));
    }
    QCOMPARE(filesIn(out.path()), QStringList());
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<frmWait *>(widget));
}

void FrmSplitTest::failureDuringTheRunIsReported() {
    // The check finds room that the run then runs out of: its second piece finds the disk full.
    FaultyFileSystem full;
    full.fail(FaultyFileSystem::Call::Write, ENOSPC, 1, QByteArrayLiteral("report.doc.2"));
    QTemporaryDir disk;
    MessageRecorder recorder;
    const frmSplit window(full);
    const QString source = sourceFile(QStringLiteral("report.doc"));
    writeTestFile(source, patternBytes(250'000));
    queueFiles(window, m_source->path(), {QStringLiteral("report.doc")});
    control<FolderList>(window, "Dir2")->setPath(disk.path());
    selectSize(window, 1);

    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.messages.size(), 1);
    const Message &shown = recorder.messages.first();
    QCOMPARE(shown.title, QStringLiteral("Error: Split Failed"));
    const QString prefix = QStringLiteral("%1 could not be split.\n\n%2")
                               .arg(QDir::toNativeSeparators(source),
                                    QDir(disk.path()).filePath(QStringLiteral("report.doc.2")));
    QVERIFY2(shown.text.startsWith(prefix), qPrintable(shown.text));
    QVERIFY2(shown.text.endsWith(QStringLiteral(": No space left on device")),
             qPrintable(shown.text));
    QCOMPARE(filesIn(disk.path()), QStringList());
}

void FrmSplitTest::failureOfTheSourceNamesItOnce() {
    // /proc/self/mem passes for a regular file, but its first byte cannot be read.
    if (!QFile::exists(QStringLiteral("/proc/self/mem")))
        QSKIP("needs /proc");
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir out;
    queueFiles(window, QStringLiteral("/proc/self"), {QStringLiteral("mem")});
    control<FolderList>(window, "Dir2")->setPath(out.path());
    selectSize(window, 1);

    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.first().title, QStringLiteral("Error: Split Failed"));
    QCOMPARE(recorder.messages.first().text,
             QStringLiteral("/proc/self/mem could not be split.\n\nInput/output error"));
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("mem.bat"))));
}

void FrmSplitTest::customSizeControlsFollowTheSelection() {
    const frmSplit window;
    auto *label = control<QLabel>(window, "Label4");
    auto *box = control<QLineEdit>(window, "txtCustomSize");

    selectSize(window, 0);
    QVERIFY(!label->isHidden());
    QVERIFY(!box->isHidden());
    box->setText(QStringLiteral("123456"));

    selectSize(window, 5); // 25M
    QVERIFY(label->isHidden());
    QVERIFY(box->isHidden());
    QCOMPARE(box->text(), QStringLiteral("123456"));

    selectSize(window, 0);
    QVERIFY(!box->isHidden());
    QCOMPARE(box->text(), QStringLiteral("123456"));
}

void FrmSplitTest::aboutOpensOneWindow() {
    frmSplit window;
    QAction *about = window.findChild<QAction *>(QStringLiteral("mnuabout"));
    QVERIFY(about);
    QCOMPARE(about->text(), QStringLiteral("About"));
    QCOMPARE(window.findChild<QMenu *>(QStringLiteral("mnuhelp"))->title(), QStringLiteral("Help"));

    about->trigger();
    about->trigger();

    QList<frmAbout *> abouts;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<frmAbout *>(widget))
            abouts << found;
    }
    QCOMPARE(abouts.size(), 1);
    frmAbout &shown = *abouts.first();
    QVERIFY(shown.isVisible());
    QCOMPARE(shown.windowTitle(), QStringLiteral("About"));
    QCOMPARE(shown.size(), twipsToPixels(&shown, 5970, 3570));
    QCOMPARE(control<QLabel>(shown, "Label1")->text(), QStringLiteral("Tessary Program"));
    QCOMPARE(control<QLabel>(shown, "Label1")->geometry(),
             twipsToPixels(&shown, 480, 240, 3255, 375));
    QCOMPARE(control<QLabel>(shown, "Label2")->text(), QStringLiteral("Version 1.0"));
    QCOMPARE(control<QLabel>(shown, "Label2")->geometry(),
             twipsToPixels(&shown, 480, 2760, 1215, 255));
    QVERIFY(shown.windowIcon().cacheKey() != window.windowIcon().cacheKey());
    QVERIFY(!window.windowIcon().isNull());
}

namespace {

// A drop of the given items, as a file manager sends it, at the centre of target.
struct DropResult {
    bool enterAccepted = false;
    bool moveAccepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

DropResult dropOn(QWidget &window, const QWidget *target, const QList<QUrl> &urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->mapTo(&window, target->rect().center());
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    DropResult result;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    result.enterAccepted = enter.isAccepted();
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    result.moveAccepted = move.isAccepted();
    result.action = move.dropAction();
    if (result.moveAccepted) {
        QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
    }
    return result;
}

} // namespace

void FrmSplitTest::dropsOnTheWindow_data() {
    QTest::addColumn<QString>("target");    // object name of the control dropped on
    QTest::addColumn<QStringList>("items"); // names in the source folder, or web addresses
    QTest::addColumn<QStringList>("queued");
    QTest::addColumn<QString>("leftOut"); // start of the information box, empty for none
    const QString file = QStringLiteral("a.txt");
    const QString other = QStringLiteral("b b.bin");
    const QString folder = QStringLiteral("sub");
    const QString web = QStringLiteral("https://example.org/c.txt");
    QTest::addRow("files on the queue, in the order dropped")
        << QStringLiteral("List1") << QStringList{other, file, other}
        << QStringList{other, file, other} << QString();
    QTest::addRow("files on the source browser")
        << QStringLiteral("flbox1") << QStringList{file} << QStringList{file} << QString();
    QTest::addRow("files on the size list")
        << QStringLiteral("List4") << QStringList{file} << QStringList{file} << QString();
    QTest::addRow("files on a caption")
        << QStringLiteral("Label3") << QStringList{file} << QStringList{file} << QString();
    QTest::addRow("a folder and a web address left out, with a word")
        << QStringLiteral("List1") << QStringList{folder, file, web} << QStringList{file}
        << QStringLiteral("2 of the 3 items dropped were not added");
    QTest::addRow("only a folder: not accepted")
        << QStringLiteral("List1") << QStringList{folder} << QStringList() << QString();
    QTest::addRow("files on the output browser: not accepted")
        << QStringLiteral("Dir2") << QStringList{file} << QStringList() << QString();
}

void FrmSplitTest::dropsOnTheWindow() {
    QFETCH(QString, target);
    QFETCH(QStringList, items);
    QFETCH(QStringList, queued);
    QFETCH(QString, leftOut);
    MessageRecorder recorder;
    frmSplit window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    writeTestFile(sourceFile(QStringLiteral("a.txt")), "a");
    writeTestFile(sourceFile(QStringLiteral("b b.bin")), "b");
    QDir(m_source->path()).mkdir(QStringLiteral("sub"));
    QList<QUrl> urls;
    for (const QString &item : items)
        urls << (item.startsWith(QStringLiteral("https:")) ? QUrl(item)
                                                           : QUrl::fromLocalFile(sourceFile(item)));

    // The window takes every drop: no control under it takes one for itself.
    for (const QWidget *child : window.findChildren<QWidget *>())
        QVERIFY2(!child->acceptDrops(), qPrintable(child->objectName()));

    const DropResult result = dropOn(window, control<QWidget>(window, qPrintable(target)), urls);

    QVERIFY(result.enterAccepted);
    QCOMPARE(result.moveAccepted, !queued.isEmpty());
    if (result.moveAccepted)
        QCOMPARE(result.action, Qt::CopyAction); // never a move that deletes the user's file
    const QStringList paths = entries(window, "List1");
    const QStringList names = entries(window, "List3");
    QCOMPARE(paths.size(), queued.size());
    QCOMPARE(names.size(), queued.size());
    const QString folder = QDir::toNativeSeparators(m_source->path()) + QDir::separator();
    for (int i = 0; i < queued.size(); ++i) {
        QCOMPARE(paths[i], folder + queued[i]);
        QCOMPARE(names[i], queued[i]);
    }
    QCOMPARE(recorder.messages.size(), leftOut.isEmpty() ? 0 : 1);
    if (!leftOut.isEmpty()) {
        QVERIFY2(recorder.messages.first().text.startsWith(leftOut),
                 qPrintable(recorder.messages.first().text));
        QCOMPARE(recorder.messages.first().icon, MessageIcon::Information);
    }
}

void FrmSplitTest::folderDroppedOnTheOutputBrowserBecomesTheOutputFolder() {
    frmSplit window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString folder = QDir::toNativeSeparators(sourceFile(QStringLiteral("out")));
    QDir().mkpath(folder);
    for (const char *part : {"Dir2", "Drive2", "lblPath2"}) {
        control<FolderList>(window, "Dir2")->setPath(QDir::rootPath());

        const DropResult result =
            dropOn(window, control<QWidget>(window, part), {QUrl::fromLocalFile(folder)});

        QVERIFY2(result.moveAccepted, part);
        QCOMPARE(control<FolderList>(window, "Dir2")->path(), folder);
        QCOMPARE(control<QLabel>(window, "lblPath2")->text(), folder);
    }
    // The source browser and the queue are left as they were.
    QCOMPARE(entries(window, "List1").size(), 0);
    QCOMPARE(control<FolderList>(window, "Dir1")->path(),
             QDir::toNativeSeparators(QDir::rootPath()));
}

void FrmSplitTest::drivesMountedAndUnmountedFollowInBothLists() {
    const frmSplit window;
    TmpfsMount stick(QStringLiteral("64k"));
    if (!stick.isMounted())
        QSKIP(qPrintable(stick.skipReason()));
    const QString root = QDir::toNativeSeparators(stick.path()) + QDir::separator();
    auto *drive1 = control<DriveList>(window, "Drive1");
    auto *drive2 = control<DriveList>(window, "Drive2");

    QTRY_VERIFY_WITH_TIMEOUT(drive1->findData(root) >= 0 && drive2->findData(root) >= 0, 1000);
    drive2->setCurrentIndex(drive2->findData(root));
    QCOMPARE(control<FolderList>(window, "Dir2")->path(), QDir::toNativeSeparators(stick.path()));

    QVERIFY(stick.unmount());
    QTRY_VERIFY_WITH_TIMEOUT(drive1->findData(root) < 0 && drive2->findData(root) < 0, 1000);
    const QString systemRoot = QDir::toNativeSeparators(QDir::rootPath());
    QCOMPARE(control<FolderList>(window, "Dir2")->path(), systemRoot);
    QCOMPARE(control<QLabel>(window, "lblPath2")->text(), systemRoot);
    QCOMPARE(control<FolderList>(window, "Dir1")->path(), systemRoot);
}

void FrmSplitTest::pathLabelsShowWholePathsAsTooltips() {
    const frmSplit window;
    const QString deep =
        sourceFile(QStringList(8, QStringLiteral("a rather long folder name")).join(u'/'));
    QDir().mkpath(deep);

    control<FolderList>(window, "Dir1")->setPath(deep);
    control<FolderList>(window, "Dir2")->setPath(deep);

    for (const char *name : {"lblPath", "lblPath2"}) {
        const auto *label = control<QLabel>(window, name);
        QCOMPARE(label->text(), QDir::toNativeSeparators(deep));
        QCOMPARE(label->toolTip(), QDir::toNativeSeparators(deep));
    }
    // The geometry stays; what is shown keeps the folder's own name.
    const auto *label = control<QLabel>(window, "lblPath2");
    QCOMPARE(label->geometry(), twipsToPixels(&window, 1800, 6120, 3855, 375));
    QVERIFY(elidePath(label->text(), label->fontMetrics(), label->contentsRect().width())
                .endsWith(QStringLiteral("/a rather long folder name")));
}

void FrmSplitTest::joinMenuComesBeforeHelp() {
    frmSplit window;
    const QList<QAction *> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->menu(), control<QMenu>(window, "mnufile"));
    QCOMPARE(menus[1]->menu(), control<QMenu>(window, "mnuhelp"));
    // Alt+F, then J.
    QCOMPARE(control<QMenu>(window, "mnufile")->title(), QStringLiteral("&File"));
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("mnujoin"))->text(),
             QStringLiteral("&Join Files..."));
}

void FrmSplitTest::fileMenuJoinsVerifiesAndWritesChecksums() {
    frmSplit window;
    const QList<QAction *> items = control<QMenu>(window, "mnufile")->actions();
    // Without rclone, the item that splits to a remote is followed by why it cannot.
    const qsizetype remote = Rclone::isAvailable() ? 0 : 1;
    QCOMPARE(items.size(), 14 + remote);
    QCOMPARE(items[0]->objectName(), QStringLiteral("mnujoin"));
    QCOMPARE(items[1]->objectName(), QStringLiteral("mnuverify"));
    QCOMPARE(items[1]->text(), QStringLiteral("&Verify Pieces..."));
    QVERIFY(items[2]->isSeparator());
    QCOMPARE(items[3]->objectName(), QStringLiteral("mnuchecksums"));
    QCOMPARE(items[3]->text(), QStringLiteral("Write &Checksums"));
    QVERIFY(items[3]->isCheckable());
    QVERIFY(items[3]->isChecked()); // at start, in every window: it is not saved
    QCOMPARE(items[4]->text(), QStringLiteral("Write &Restore Script for macOS and Linux"));
    QVERIFY(items[4]->isCheckable() && items[4]->isChecked());
    QCOMPARE(items[5]->menu()->title(), QStringLiteral("Rec&overy Files"));
    QCOMPARE(items[7]->text(), QStringLiteral("&Split Into Pieces..."));
    QCOMPARE(items[8]->text(), QStringLiteral("Split &To Remote..."));
    QCOMPARE(items[9 + remote]->menu()->title(), QStringLiteral("Si&ze For"));
    QCOMPARE(items[10 + remote]->text(), QStringLiteral("Align Pieces to Disk &Blocks"));
    QVERIFY(items[10 + remote]->isCheckable() && !items[10 + remote]->isChecked());
    QCOMPARE(items[11 + remote]->text(), QStringLiteral("Re&move File"));
    QCOMPARE(items[13 + remote]->text(), QStringLiteral("&Quit"));
    // Each access key reaches one item.
    QSet<QChar> keys;
    for (const QAction *item : items) {
        const QString text = item->menu() ? item->menu()->title() : item->text();
        const qsizetype amp = text.indexOf(u'&');
        if (amp < 0)
            continue;
        const QChar key = text.at(amp + 1).toLower();
        QVERIFY2(!keys.contains(key), qPrintable(text));
        keys.insert(key);
    }
}

void FrmSplitTest::splitToRemote_data() {
    QTest::addColumn<bool>("withRclone");
    QTest::addColumn<QString>("folder"); // on box:, as the dialog is answered
    QTest::addColumn<QString>("said");
    QTest::addRow("into a folder there") << true << "out"
                                         << "They are on box:out";
    QTest::addRow("into a folder that is not there") << true << "elsewhere"
                                                     << "this folder is not on the remote";
    QTest::addRow("without rclone") << false << ""
                                    << "";
}

void FrmSplitTest::splitToRemote() {
    QFETCH(bool, withRclone);
    QFETCH(QString, folder);
    QFETCH(QString, said);
    const RcloneRemotes remotes;
    if (!remotes.isAvailable())
        QSKIP("rclone is not installed");
    // For the rclone the window starts, and for the window itself.
    const QProcessEnvironment environment = remotes.environment();
    QList<QByteArray> set;
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QStringLiteral("RCLONE")) || name == u"XDG_CACHE_HOME" ||
            (name == u"PATH" && !withRclone)) {
            set << name.toLocal8Bit();
            qputenv(set.last().constData(),
                    withRclone ? environment.value(name).toLocal8Bit() : QByteArray());
        }
    }
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] {
        for (const QByteArray &name : set)
            qunsetenv(name.constData());
        qputenv("PATH", path);
    });
    QDir(remotes.boxFolder()).mkdir(QStringLiteral("out"));
    MessageRecorder recorder;
    const frmSplit window;
    QAction *item = window.findChild<QAction *>(QStringLiteral("mnuremote"));
    QCOMPARE(item->isEnabled(), withRclone);
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("mnuremote_absent")) != nullptr,
             !withRclone);
    if (!withRclone)
        return;
    writeTestFile(sourceFile(QStringLiteral("report.doc")), patternBytes(2500));
    queueFiles(window, m_source->path(), {QStringLiteral("report.doc")});
    selectSize(window, 1);
    QStringList offered;
    const RemoteDestinationHandler previous =
        setRemoteDestinationHandler([&](const QStringList &remotes) {
            offered = remotes;
            return RemoteDestination{QStringLiteral("box:"), folder, false, false};
        });
    const auto answered = qScopeGuard([&] { setRemoteDestinationHandler(previous); });

    item->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(offered, QStringList{QStringLiteral("box")}, 60'000);
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages.first().text.contains(said),
             qPrintable(recorder.messages.first().text));
}

void FrmSplitTest::splitWithoutChecksums_data() {
    QTest::addColumn<bool>("checksums");
    QTest::addColumn<bool>("posixScript");
    QTest::addRow("checked, as at start") << true << true;
    QTest::addRow("checksums unchecked") << false << true;
    QTest::addRow("script for macOS and Linux unchecked") << true << false;
}

void FrmSplitTest::splitWithoutChecksums() {
    QFETCH(bool, checksums);
    QFETCH(bool, posixScript);
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir out;
    writeTestFile(sourceFile(QStringLiteral("report.doc")), patternBytes(2500));
    queueFiles(window, m_source->path(), {QStringLiteral("report.doc")});
    control<FolderList>(window, "Dir2")->setPath(out.path());
    selectSize(window, 0);
    control<QLineEdit>(window, "txtCustomSize")->setText(QStringLiteral("1000"));
    window.findChild<QAction *>(QStringLiteral("mnuchecksums"))->setChecked(checksums);
    window.findChild<QAction *>(QStringLiteral("mnuposixscript"))->setChecked(posixScript);

    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(QFile::exists(out.filePath(QStringLiteral("report.doc.sha256"))), checksums);
    QCOMPARE(QFile::exists(out.filePath(QStringLiteral("report.doc.sh"))), posixScript);
    QCOMPARE(filesIn(out.path()).size(), 4 + int(checksums) + int(posixScript));
}

void FrmSplitTest::verifyFromTheWindow() {
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir out;
    splitReport(window, out.path());
    recorder.messages.clear();
    writeTestFile(out.filePath(QStringLiteral("report.doc.2")), "damaged");
    QStringList offered;
    const FileChooser previous =
        setFileChooser([&](const QString &, const QStringList &filters, const QString &) {
            offered = filters;
            return QDir::toNativeSeparators(out.filePath(QStringLiteral("report.doc.sha256")));
        });
    const auto restore = qScopeGuard([&] { setFileChooser(previous); });

    window.findChild<QAction *>(QStringLiteral("mnuverify"))->trigger();
    QVERIFY(runsEnd(window));

    QCOMPARE(offered.first(), QStringLiteral("Checksum lists (*.sha256)"));
    const Message expected{
        QStringLiteral("2 of the 3 pieces in report.doc.sha256 match.\n\n\u2022 report.doc.1: "
                       "matches\n\u2022 report.doc.2: damaged\n\u2022 report.doc.3: matches"),
        MessageIcon::Exclamation, QStringLiteral("Verify Pieces")};
    QCOMPARE(recorder.messages, QList<Message>{expected});
}

void FrmSplitTest::startArguments_data() {
    using Action = StartArguments::Action;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("files");
    const QString a = QStringLiteral("a.doc");
    const QString b = QStringLiteral("-b.doc");
    QTest::addRow("nothing") << QStringList() << int(Action::Queue) << QStringList();
    QTest::addRow("files") << QStringList{a, QStringLiteral("b c.doc")} << int(Action::Queue)
                           << QStringList{a, QStringLiteral("b c.doc")};
    QTest::addRow("a file named like an option, after --")
        << QStringList{QStringLiteral("--"), b} << int(Action::Queue) << QStringList{b};
    QTest::addRow("join a file") << QStringList{QStringLiteral("--join"), a} << int(Action::Join)
                                 << QStringList{a};
    QTest::addRow("join, asking") << QStringList{QStringLiteral("--join")} << int(Action::Join)
                                  << QStringList();
    QTest::addRow("verify a file")
        << QStringList{a, QStringLiteral("--verify")} << int(Action::Verify) << QStringList{a};
    QTest::addRow("help") << QStringList{a, QStringLiteral("--help")} << int(Action::Help)
                          << QStringList();
    QTest::addRow("version") << QStringList{QStringLiteral("--version")} << int(Action::Version)
                             << QStringList();
    QTest::addRow("an unknown option")
        << QStringList{QStringLiteral("--jion"), a} << int(Action::Wrong) << QStringList();
    QTest::addRow("join two files")
        << QStringList{QStringLiteral("--join"), a, a} << int(Action::Wrong) << QStringList();
    QTest::addRow("join and verify")
        << QStringList{QStringLiteral("--join"), QStringLiteral("--verify")} << int(Action::Wrong)
        << QStringList();
}

void FrmSplitTest::startArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, files);

    const StartArguments start =
        StartArguments::parse(QStringList{QStringLiteral("tessary")} + arguments);

    QCOMPARE(int(start.action), action);
    QCOMPARE(start.files, files);
    QCOMPARE(start.problem.isEmpty(), action != int(StartArguments::Action::Wrong));
}

void FrmSplitTest::filesGivenAtStartAreQueuedAsAddFileQueuesThem() {
    MessageRecorder recorder;
    const QStringList names{QStringLiteral("a.txt"), QStringLiteral("b b.bin")};
    for (const QString &name : names)
        writeTestFile(sourceFile(name), "x");
    QDir(m_source->path()).mkdir(QStringLiteral("sub"));
    const frmSplit byAddFile;
    queueFiles(byAddFile, m_source->path(), names);
    frmSplit started;

    started.queueFiles({sourceFile(QStringLiteral("a.txt")), sourceFile(QStringLiteral("sub")),
                        sourceFile(QStringLiteral("gone.txt")),
                        sourceFile(QStringLiteral("b b.bin")), QStringLiteral("/dev/null")});

    for (const char *list : {"List1", "List3"})
        QCOMPARE(entries(started, list), entries(byAddFile, list));
    const Message leftOut{
        QStringLiteral("3 of the 5 files given were not added to the files to convert:\n\n1 "
                       "folder: only files can be split; open the folder to add its files\n1 "
                       "name of nothing that is there\n1 item that is not a file (a device or a "
                       "named pipe)"),
        MessageIcon::Information, QStringLiteral("Tessary")};
    QCOMPARE(recorder.messages, QList<Message>{leftOut});
}

void FrmSplitTest::joinAndVerifyGivenAtStart() {
    MessageRecorder recorder;
    frmSplit window;
    QTemporaryDir out;
    splitReport(window, out.path());
    recorder.messages.clear();
    // No file dialog is shown for a file given.
    const FileChooser previous =
        setFileChooser([](const QString &, const QStringList &, const QString &) -> QString {
            qFatal("the file dialog was shown");
        });
    const auto restore = qScopeGuard([&] { setFileChooser(previous); });

    window.join(out.filePath(QStringLiteral("report.doc.bat")));
    QVERIFY(runsEnd(window));
    window.verify(out.filePath(QStringLiteral("report.doc.1")));
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.messages.size(), 2);
    QVERIFY(recorder.messages[0].text.startsWith(QStringLiteral("report.doc has been restored")));
    QVERIFY(recorder.messages[1].text.startsWith(
        QStringLiteral("All 3 pieces match report.doc.sha256, and joined they make report.doc. So "
                       "does report.doc")));
    QCOMPARE(readTestFile(out.filePath(QStringLiteral("report.doc"))), patternBytes(250'000));
}

void FrmSplitTest::terminalWritesWhatTheWindowWrites() {
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir byWindow;
    QTemporaryDir byTerminal;
    const QStringList names{QStringLiteral("report.doc"),
                            QStringLiteral("r\u00e9sum\u00e9 & 100%.txt")};
    for (const QString &name : names)
        writeTestFile(sourceFile(name), patternBytes(45'000));
    queueFiles(window, m_source->path(), names);
    control<FolderList>(window, "Dir2")->setPath(byWindow.path());
    selectSize(window, 0);
    control<QLineEdit>(window, "txtCustomSize")->setText(QStringLiteral("10000"));
    control<QPushButton>(window, "cmdSplit")->click();
    QVERIFY(runsEnd(window));

    QProcess cli;
    cli.start(QStringLiteral(TESSARY_CLI),
              QStringList{QStringLiteral("split"), QStringLiteral("-q"), QStringLiteral("-s"),
                          QStringLiteral("10000"), QStringLiteral("-o"), byTerminal.path()} +
                  QStringList{sourceFile(names[0]), sourceFile(names[1])});
    QVERIFY(cli.waitForFinished(60'000));
    QCOMPARE(cli.exitCode(), 0);

    const QStringList written = filesIn(byWindow.path());
    QCOMPARE(written.size(), 2 * (5 + 3));
    QCOMPARE(filesIn(byTerminal.path()), written);
    for (const QString &file : written)
        QVERIFY2(readTestFile(QDir(byTerminal.path()).filePath(file)) ==
                     readTestFile(QDir(byWindow.path()).filePath(file)),
                 qPrintable(file));
}

void FrmSplitTest::joinFromTheWindow_data() {
    QTest::addColumn<QString>("chosen");   // empty: the user cancels the dialog
    QTest::addColumn<bool>("exists");      // the file to restore is there already; the user says No
    QTest::addColumn<MessageIcon>("icon"); // of the one message shown
    QTest::addColumn<QString>("text");     // its start; empty when no message is shown
    const QString restored = QStringLiteral("report.doc has been restored");
    QTest::addRow("restored") << QStringLiteral("report.doc.bat") << false
                              << MessageIcon::Information << restored;
    QTest::addRow("from the first piece")
        << QStringLiteral("report.doc.1") << false << MessageIcon::Information << restored;
    QTest::addRow("refused") << QStringLiteral("report.doc.2") << false << MessageIcon::Error
                             << QStringLiteral("The pieces were not joined");
    QTest::addRow("cancelled") << QString() << false << MessageIcon::None << QString();
    QTest::addRow("not replaced") << QStringLiteral("report.doc.bat") << true << MessageIcon::None
                                  << QString();
}

void FrmSplitTest::joinFromTheWindow() {
    QFETCH(QString, chosen);
    QFETCH(bool, exists);
    QFETCH(MessageIcon, icon);
    QFETCH(QString, text);
    MessageRecorder recorder;
    const frmSplit window;
    QTemporaryDir out;
    splitReport(window, out.path());
    recorder.messages.clear();
    if (exists)
        writeTestFile(out.filePath(QStringLiteral("report.doc")), "kept");
    QStringList offered;
    QString startFolder;
    const FileChooser previous =
        setFileChooser([&](const QString &, const QStringList &filters, const QString &folder) {
            offered = filters;
            startFolder = folder;
            return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(out.filePath(chosen));
        });
    const auto restore = qScopeGuard([&] { setFileChooser(previous); });

    window.findChild<QAction *>(QStringLiteral("mnujoin"))->trigger();
    QVERIFY(runsEnd(window));

    QCOMPARE(offered, (QStringList{QStringLiteral("Restore scripts (*.bat *.sh)"),
                                   QStringLiteral("Checksum lists (*.sha256)"),
                                   QStringLiteral("All files (*)")}));
    QCOMPARE(startFolder, QDir::toNativeSeparators(out.path()));
    QCOMPARE(recorder.messages.size(), text.isEmpty() ? 0 : 1);
    if (!text.isEmpty()) {
        const Message &shown = recorder.messages.first();
        QCOMPARE(shown.icon, icon);
        QVERIFY2(shown.text.startsWith(text), qPrintable(shown.text));
        QCOMPARE(shown.title, icon == MessageIcon::Error ? QStringLiteral("Error: Join Failed")
                                                         : QStringLiteral("Tessary"));
    }
    QCOMPARE(recorder.questions.size(), exists ? 1 : 0);
    const QString joined = out.filePath(QStringLiteral("report.doc"));
    if (exists)
        QCOMPARE(readTestFile(joined), QByteArray("kept"));
    else if (icon == MessageIcon::Information)
        QCOMPARE(readTestFile(joined), patternBytes(250'000));
    else
        QVERIFY(!QFile::exists(joined));
    if (icon == MessageIcon::Information)
        QCOMPARE(recorder.messages.first().text,
                 QStringLiteral("report.doc has been restored\n\nAll 3 pieces matched their "
                                "checksums."));
}

void FrmSplitTest::sizeForChoosesTheCustomEntry_data() {
    QTest::addColumn<int>("target");
    for (int i = 0; i < int(kSizeTargets.size()); ++i)
        QTest::addRow("%s", qPrintable(QString::fromLatin1(kSizeTargets.at(i).label))) << i;
}

void FrmSplitTest::sizeForChoosesTheCustomEntry() {
    QFETCH(int, target);
    const frmSplit window;
    writeTestFile(sourceFile(QStringLiteral("a.bin")), "a");
    queueFiles(window, m_source->path(), {QStringLiteral("a.bin")});
    selectSize(window, 5);
    QAction *item = control<QMenu>(window, "mnusizefor")->actions().at(target);
    QCOMPARE(item->text(), QString::fromLatin1(kSizeTargets.at(target).label));

    item->trigger();

    QCOMPARE(control<QListWidget>(window, "List4")->currentRow(), 0);
    QVERIFY(!control<QLabel>(window, "Label4")->isHidden() &&
            !control<QLineEdit>(window, "txtCustomSize")->isHidden());
    const auto checked = window.validate();
    QVERIFY(std::holds_alternative<SplitRequest>(checked));
    QCOMPARE(std::get<SplitRequest>(checked).pieceLength, kSizeTargets.at(target).pieceBytes);
}

void FrmSplitTest::splitIntoPieces_data() {
    QTest::addColumn<qint64>("length");   // of the file queued; -1: none is
    QTest::addColumn<int>("pieces");      // the answer; 0: Cancel
    QTest::addColumn<int>("written");     // files in the output folder
    QTest::addColumn<QString>("message"); // its start; empty: none is shown
    QTest::addRow("three pieces, the scripts and the list")
        << qint64(1000) << 3 << 6 << QStringLiteral("I am done splitting all of the files");
    QTest::addRow("fewer bytes than pieces: refused")
        << qint64(3) << 5 << 0 << QStringLiteral("The split was not started");
    QTest::addRow("cancelled") << qint64(1000) << 0 << 0 << QString();
    QTest::addRow("empty queue: not asked")
        << qint64(-1) << 3 << 0
        << QStringLiteral("No files to be converted.  You need to add files to be converted");
}

void FrmSplitTest::splitIntoPieces() {
    QFETCH(qint64, length);
    QFETCH(int, pieces);
    QFETCH(int, written);
    QFETCH(QString, message);
    MessageRecorder recorder;
    if (pieces > 0)
        recorder.numbers << pieces;
    const frmSplit window;
    QTemporaryDir out;
    if (length >= 0) {
        writeTestFile(sourceFile(QStringLiteral("report.doc")), patternBytes(length));
        queueFiles(window, m_source->path(), {QStringLiteral("report.doc")});
    }
    control<FolderList>(window, "Dir2")->setPath(out.path());

    window.findChild<QAction *>(QStringLiteral("mnupieces"))->trigger();
    QVERIFY(runsEnd(window));

    QCOMPARE(recorder.numberQuestions.size(), length >= 0 ? 1 : 0);
    for (const IntegerQuestion &asked : recorder.numberQuestions)
        QCOMPARE(asked.minimum, 1); // no fewer than one piece can be typed
    QCOMPARE(recorder.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY(recorder.messages.first().text.startsWith(message));
    QCOMPARE(filesIn(out.path()).size(), written);
}

void FrmSplitTest::startedWithFilesOpensTheFirstFilesFolder_data() {
    QTest::addColumn<QString>("given");  // names in the source folder, between blanks
    QTest::addColumn<QString>("opened"); // the source browser's folder there; empty: the root
    QTest::addRow("files of two folders")
        << QStringLiteral("sub/b.txt a.txt") << QStringLiteral("sub");
    QTest::addRow("a folder, then a file") << QStringLiteral("sub a.txt") << QStringLiteral(".");
    QTest::addRow("no file") << QStringLiteral("sub") << QString();
}

void FrmSplitTest::startedWithFilesOpensTheFirstFilesFolder() {
    QFETCH(QString, given);
    QFETCH(QString, opened);
    MessageRecorder recorder;
    QDir(m_source->path()).mkdir(QStringLiteral("sub"));
    writeTestFile(sourceFile(QStringLiteral("a.txt")), "a");
    writeTestFile(sourceFile(QStringLiteral("sub/b.txt")), "b");
    frmSplit window;
    QStringList paths;
    for (const QString &name : given.split(u' '))
        paths << sourceFile(name);

    window.queueFiles(paths);

    const QString folder = QDir::toNativeSeparators(
        opened.isEmpty() ? QDir::rootPath() : QDir::cleanPath(sourceFile(opened)));
    QCOMPARE(control<FolderList>(window, "Dir1")->path(), folder);
    QCOMPARE(control<QLabel>(window, "lblPath")->text(), folder);
    QCOMPARE(control<FileList>(window, "flbox1")->path(), folder);
}

namespace {

// Records the caption of every wait window as it is shown.
struct WaitWindowWatch : QObject {
    QStringList captions;
    WaitWindowWatch() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (const auto *wait = qobject_cast<frmWait *>(watched);
            wait && event->type() == QEvent::Show)
            captions << wait->windowTitle();
        return false;
    }
};

} // namespace

void FrmSplitTest::waitWindowNamesTheRun_data() {
    QTest::addColumn<QString>("run"); // after a split
    QTest::addColumn<QString>("caption");
    QTest::addRow("split") << QString() << QStringLiteral("Please wait splitting files");
    QTest::addRow("join") << QStringLiteral("join") << QStringLiteral("Please wait joining files");
    QTest::addRow("verify") << QStringLiteral("verify")
                            << QStringLiteral("Please wait checking pieces");
}

void FrmSplitTest::waitWindowNamesTheRun() {
    QFETCH(QString, run);
    QFETCH(QString, caption);
    MessageRecorder recorder;
    frmSplit window;
    QTemporaryDir out;
    WaitWindowWatch watch;
    splitReport(window, out.path());

    if (run == u"join")
        window.join(out.filePath(QStringLiteral("report.doc.bat")));
    else if (run == u"verify")
        window.verify(out.filePath(QStringLiteral("report.doc.sha256")));
    QVERIFY(runsEnd(window));

    QCOMPARE(watch.captions.size(), run.isEmpty() ? 1 : 2);
    QCOMPARE(watch.captions.last(), caption);
}

namespace {

// Adds to unnamed the controls under node that a screen reader reaches (the focus or a value)
// and cannot name: it names a drop-down list by the caption tied to it (Qt, by the entry on
// show), others by their name.
void addUnnamed(QAccessibleInterface *node, QStringList &unnamed) {
    const auto captions = node->relations(QAccessible::Label);
    const QString name = node->role() != QAccessible::ComboBox ? node->text(QAccessible::Name)
                         : captions.isEmpty()                  ? QString()
                                              : captions.first().first->text(QAccessible::Name);
    const auto *widget = qobject_cast<const QWidget *>(node->object());
    const bool reached = node->state().focusable || node->valueInterface();
    if (widget && (reached || widget->isWindow()) && name.isEmpty())
        unnamed << widget->objectName();
    for (int i = 0; i < node->childCount(); ++i) {
        if (!node->child(i)->state().invisible)
            addUnnamed(node->child(i), unnamed);
    }
}

} // namespace

void FrmSplitTest::everyControlHasAName_data() {
    QTest::addColumn<QString>("opened"); // the menu item that opens the window; empty: the main one
    QTest::addRow("main window") << QString();
    QTest::addRow("wait window") << QStringLiteral("frmWait");
    QTest::addRow("About") << QStringLiteral("mnuabout");
    QTest::addRow("Join Files dialog") << QStringLiteral("mnujoin");
    QTest::addRow("Verify Pieces dialog") << QStringLiteral("mnuverify");
}

void FrmSplitTest::everyControlHasAName() {
    QFETCH(QString, opened);
    frmSplit window;
    frmWait wait(Job::Kind::Split);
    QStringList unnamed;
    const FileChooser previous = setFileChooser(
        [&](const QString &caption, const QStringList &filters, const QString &folder) {
            const std::unique_ptr<QFileDialog> dialog =
                fileToOpenDialog(nullptr, caption, filters, folder);
            dialog->show();
            addUnnamed(QAccessible::queryAccessibleInterface(dialog.get()), unnamed);
            return QString();
        });
    const auto restore = qScopeGuard([&] { setFileChooser(previous); });

    (opened == u"frmWait" ? static_cast<QWidget &>(wait) : window).show();
    if (opened.startsWith(u"mnu"))
        window.findChild<QAction *>(opened)->trigger();
    for (QWidget *shown : QApplication::topLevelWidgets()) {
        if (shown->isVisible())
            addUnnamed(QAccessible::queryAccessibleInterface(shown), unnamed);
    }

    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));
}

void FrmSplitTest::keys_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("focus"); // the control that has the focus
    QTest::addColumn<QString>("item");  // the menu item that shows the key; empty: none
    QTest::addColumn<int>("queued");    // of two files queued, the first chosen
    QTest::addColumn<int>("windows");   // open after the key
    const QString queue = QStringLiteral("List1");
    QTest::addRow("Ctrl+Q closes every window")
        << QStringLiteral("Ctrl+Q") << queue << QStringLiteral("mnuquit") << 2 << 0;
    QTest::addRow("Delete removes the chosen file")
        << QStringLiteral("Del") << queue << QStringLiteral("mnuremove") << 1 << 1;
    QTest::addRow("Delete in the size box is the box's")
        << QStringLiteral("Del") << QStringLiteral("txtCustomSize") << QString() << 2 << 1;
    QTest::addRow("F1 opens About")
        << QStringLiteral("F1") << queue << QStringLiteral("mnuabout") << 2 << 2;
}

void FrmSplitTest::keys() {
    QFETCH(QString, key);
    QFETCH(QString, focus);
    QFETCH(QString, item);
    QFETCH(int, queued);
    QFETCH(int, windows);
    frmSplit window;
    const QStringList names{QStringLiteral("a.bin"), QStringLiteral("b.bin")};
    for (const QString &name : names)
        writeTestFile(sourceFile(name), "x");
    queueFiles(window, m_source->path(), names);
    selectSize(window, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *list = control<QListView>(window, "List1");
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    control<QWidget>(window, qPrintable(focus))->setFocus();

    QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));

    if (!item.isEmpty())
        QCOMPARE(window.findChild<QAction *>(item)->shortcut(), QKeySequence(key));
    QCOMPARE(entries(window, "List1").size(), queued);
    const QWidgetList open = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(open.begin(), open.end(), std::mem_fn(&QWidget::isVisible)), windows);
}

void FrmSplitTest::rendersWindowsToPng() {
    // Pictures of the windows for a person to look at, in the build folder.
    frmSplit window;
    writeTestFile(sourceFile(QStringLiteral("holiday video.mp4")), "v");
    queueFiles(window, m_source->path(), {QStringLiteral("holiday video.mp4")});
    frmAbout about;
    frmWait wait(Job::Kind::Split);
    // Where the build folder is another user's, they are still drawn, into a folder of ours.
    const QTemporaryDir ours;
    const QString folder = QFileInfo(QStringLiteral(TESSARY_SCREENSHOT_DIR)).isWritable()
                               ? QStringLiteral(TESSARY_SCREENSHOT_DIR)
                               : ours.path();
    QVERIFY(window.grab().save(folder + QStringLiteral("/tessary-main.png")));
    QVERIFY(about.grab().save(folder + QStringLiteral("/tessary-about.png")));
    QVERIFY(wait.grab().save(folder + QStringLiteral("/tessary-wait.png")));
}

QTEST_MAIN(FrmSplitTest)
#include "tst_frmsplit.moc"
