#include "frmSplit.h"

#include "Accessibility.h"
#include "DriveList.h"
#include "FileArguments.h"
#include "FileDrop.h"
#include "FileList.h"
#include "FileSystemObject.h"
#include "FolderList.h"
#include "FontFit.h"
#include "IntegerInput.h"
#include "PathLabel.h"
#include "Paths.h"
#include "ProgramIcons.h"
#include "QueueModel.h"
#include "QueueNames.h"
#include "Rclone.h"
#include "RecoveryMenu.h"
#include "RemoteDestination.h"
#include "SetFileDialog.h"
#include "Task.h"
#include "Twips.h"
#include "frmAbout.h"
#include "jobs/JoinJob.h"
#include "jobs/RemoteSplitJob.h"
#include "jobs/SplitJob.h"
#include "jobs/VerifyJob.h"
#include "names/OutputKinds.h"
#include "sizes/PieceLength.h"
#include "sizes/SizeTable.h"
#include "sizes/SizeTargets.h"
#include "words/FailureText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>

#include <limits>
#include <utility>

namespace {

// The size list's first row, where the user types a size of their own.
constexpr int kCustomRow = 0;

// Creates a control of the main window at its place, given in twips.
template <typename Control>
Control *place(QWidget *client, const char16_t *name, int left, int top, int width, int height) {
    auto *control = new Control(client);
    control->setObjectName(QString::fromUtf16(name));
    control->setGeometry(twipsToPixels(client, left, top, width, height));
    return control;
}

// Labels draw their caption from the top left, like the rest of the layout.
template <typename Label = QLabel>
Label *placeLabel(QWidget *client, const char16_t *name, const QString &caption, int left, int top,
                  int width, int height) {
    auto *label = place<Label>(client, name, left, top, width, height);
    label->setText(caption);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *placeButton(QWidget *client, const char16_t *name, const QString &caption, int left,
                         int top, int width, int height) {
    auto *button = place<QPushButton>(client, name, left, top, width, height);
    button->setText(caption);
    return button;
}

QAction *addNamedAction(QMenu *menu, const QString &text, const char16_t *name) {
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromUtf16(name));
    return action;
}

void showMessage(const Message &message) {
    showMessage(message.text, message.icon, message.title, message.details);
}

// As if the user had browsed there: the drive list shows the folder's volume without sending
// the browser to that volume's root.
void browseTo(DriveList *drives, FolderList *folders, const QString &folder) {
    {
        const QSignalBlocker quiet(drives);
        drives->setDrive(folder);
    }
    folders->setPath(folder);
}

} // namespace

frmSplit::frmSplit(const FileSystem &files, QWidget *parent)
    : QMainWindow(parent)
    , queue(new QueueModel(this))
    , jobs(new JobWindow(files, this)) {
    jobs->setObjectName(QStringLiteral("jobs"));
    setObjectName(QStringLiteral("frmSplit"));
    setWindowTitle(tr("Tessary"));
    setWindowIcon(programIcon());
    setAcceptDrops(true);
    createControls();
    connectHandlers();
    load();
}

frmSplit::~frmSplit() = default;

void frmSplit::createControls() {
    // Controls keep their place when the window is resized: the client area has no layout.
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(twipsToPixels(this, 12000, 8520));
    setCentralWidget(client);

    createSourceBrowser(client);
    createQueue(client);
    createOutputBrowser(client);
    createSizeChoice(client);
    // The keyboard goes round the window by zone, not in the order the zones were made.
    const QList<QWidget *> tabOrder{sourceDrives, sourceFiles,  sourceFolders, queueList,
                                    addButton,    outputDrives, outputFolders, removeButton,
                                    pieceSizes,   customSize,   splitButton};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    fitFontToCaptions(client, {queueCaption, outputCaption, sizeCaption, customSizeCaption,
                               addButton, removeButton, splitButton});
    describeControls();

    createFileMenu();
    createHelpMenu();
    resize(client->minimumWidth(), client->minimumHeight() + menuBar()->sizeHint().height());
}

void frmSplit::createSourceBrowser(QWidget *client) {
    sourceDrives = place<DriveList>(client, u"Drive1", 240, 480, 3375, 315);
    sourceFiles = place<FileList>(client, u"flbox1", 3720, 480, 3255, 2430);
    sourceFolders = place<FolderList>(client, u"Dir1", 240, 960, 3255, 1890);
    sourcePath = placeLabel<PathLabel>(client, u"lblPath", tr("Label1"), 240, 120, 6735, 255);
    addButton = placeButton(client, u"cmdAdd", tr("Add File"), 7080, 480, 1215, 495);
}

void frmSplit::createQueue(QWidget *client) {
    queueList = place<QListView>(client, u"List1", 240, 3600, 8775, 1230);
    queueList->setModel(queue);
    queueList->setSelectionMode(QAbstractItemView::MultiSelection);
    queueCaption = placeLabel(client, u"Label1", tr("Files to Convert"), 240, 3360, 1575, 255);
    removeButton = placeButton(client, u"cmdRemove", tr("Remove File"), 360, 5160, 1575, 495);
    // The names, for whoever reads the window's lists by name; the model is what holds them.
    queueNames = place<QListView>(client, u"List3", 8400, 1200, 855, 450);
    auto *names = new QueueNames(queueNames);
    names->setSourceModel(queue);
    queueNames->setModel(names);
    leaveOutOfAccessibility(queueNames);
    splitButton = placeButton(client, u"cmdSplit", tr("Split Files"), 3600, 5160, 1695, 495);
}

void frmSplit::createOutputBrowser(QWidget *client) {
    outputDrives = place<DriveList>(client, u"Drive2", 240, 6480, 3375, 315);
    outputFolders = place<FolderList>(client, u"Dir2", 240, 6960, 3375, 1215);
    outputCaption = placeLabel(client, u"Label2", tr("Output Directory:"), 360, 6120, 1335, 255);
    outputPath = placeLabel<PathLabel>(client, u"lblPath2", tr("Label3"), 1800, 6120, 3855, 375);
}

void frmSplit::createSizeChoice(QWidget *client) {
    pieceSizes = place<QListWidget>(client, u"List4", 6120, 5520, 2535, 1815);
    pieceSizes->setSelectionMode(QAbstractItemView::SingleSelection);
    sizeCaption = placeLabel(client, u"Label3", tr("Output File Size"), 6120, 5280, 2655, 255);
    customSizeCaption =
        placeLabel(client, u"Label4", tr("Custom Size Bytes"), 6120, 7440, 1455, 255);
    customSize = place<QLineEdit>(client, u"txtCustomSize", 6120, 7680, 2535, 375);
    // A file dropped there is meant for the queue, not as text for the size.
    customSize->setAcceptDrops(false);
    // Each size's bytes, for whoever reads the window's lists by name; the size table is what
    // a split reads.
    pieceSizeBytes = place<QListWidget>(client, u"List5", 9360, 1200, 975, 450);
    leaveOutOfAccessibility(pieceSizeBytes);
}

void frmSplit::describeControls() {
    nameByUnseenCaption(sourceDrives, tr("Source drive"));
    sourceDrives->setAccessibleDescription(tr("The drive whose folders the source folders show"));
    sourceFolders->setAccessibleName(tr("Source folder"));
    sourceFolders->setAccessibleDescription(
        tr("Enter opens the folder chosen; its files are listed beside"));
    sourceFiles->setAccessibleName(tr("Files in the source folder"));
    sourceFiles->setAccessibleDescription(tr("Add File queues the file chosen here"));
    sourcePath->setAccessibleDescription(tr("The source folder"));
    addButton->setAccessibleDescription(
        tr("Queues the file chosen among the files in the source folder"));
    nameByCaption(queueList, queueCaption);
    queueList->setAccessibleDescription(
        tr("Split Files cuts these files into pieces, in this order; Delete removes those chosen"));
    removeButton->setAccessibleDescription(tr("Removes the files chosen from the queue"));
    splitButton->setAccessibleDescription(
        tr("Cuts each queued file into pieces of the size chosen, in the output folder"));
    nameByCaption(pieceSizes, sizeCaption);
    pieceSizes->setAccessibleDescription(tr("The size of each piece"));
    nameByCaption(customSize, customSizeCaption);
    customSize->setAccessibleDescription(tr("The size of each piece, in bytes"));
    nameByUnseenCaption(outputDrives, tr("Output drive"));
    outputDrives->setAccessibleDescription(tr("The drive whose folders the output folders show"));
    nameByCaption(outputFolders, outputCaption);
    outputFolders->setAccessibleDescription(
        tr("The pieces are written to the folder on show; Enter opens the folder chosen"));
    outputPath->setAccessibleDescription(tr("The output folder"));
}

void frmSplit::createFileMenu() {
    // Joining pieces again here, beside the restore scripts made for Windows.
    fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(QStringLiteral("mnufile"));
    joinAction = addNamedAction(fileMenu, tr("&Join Files..."), u"mnujoin");
    verifyAction = addNamedAction(fileMenu, tr("&Verify Pieces..."), u"mnuverify");
    fileMenu->addSeparator();
    // For this window only: every split writes these unless the user says no.
    for (const OutputKind &output : kOutputKinds) {
        if (!output.mayBeLeftOut())
            continue;
        QAction *option =
            addNamedAction(fileMenu, QCoreApplication::translate("Outputs", output.menuItem),
                           output.menuObjectName);
        option->setCheckable(true);
        option->setChecked(true);
        outputChoices.append({output.kind, option});
    }
    recoveryMenu = new RecoveryMenu(fileMenu);
    fileMenu->addMenu(recoveryMenu);
    fileMenu->addSeparator();
    piecesAction = addNamedAction(fileMenu, tr("&Split Into Pieces..."), u"mnupieces");
    remoteAction = addNamedAction(fileMenu, tr("Split &To Remote..."), u"mnuremote");
    if (!Rclone::isAvailable()) { // as Recovery Files without par2: the item says why not
        remoteAction->setEnabled(false);
        addNamedAction(fileMenu, failureReason(Rclone::absent()), u"mnuremote_absent")
            ->setEnabled(false);
    }
    createSizeForMenu();
    alignAction = addNamedAction(fileMenu, tr("Align Pieces to Disk &Blocks"), u"mnualigned");
    alignAction->setCheckable(true);
    removeAction = addNamedAction(fileMenu, tr("Re&move File"), u"mnuremove");
    removeAction->setShortcut(QKeySequence::Delete);
    // Delete is the queue's while it has the focus: elsewhere the size box keeps the key.
    removeAction->setShortcutContext(Qt::WidgetShortcut);
    queueList->addAction(removeAction);
    fileMenu->addSeparator();
    quitAction = addNamedAction(fileMenu, tr("&Quit"), u"mnuquit");
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void frmSplit::createSizeForMenu() {
    sizeForMenu = fileMenu->addMenu(tr("Si&ze For"));
    sizeForMenu->setObjectName(QStringLiteral("mnusizefor"));
    for (const SizeTarget &target : kSizeTargets) {
        QAction *choice =
            sizeForMenu->addAction(QCoreApplication::translate("Sizes", target.label));
        choice->setObjectName(QStringLiteral("mnusize_") + QString::fromUtf16(target.name));
        connect(choice, &QAction::triggered, this, [this, &target] { sizeFor(target); });
    }
}

void frmSplit::createHelpMenu() {
    helpMenu = menuBar()->addMenu(tr("Help"));
    helpMenu->setObjectName(QStringLiteral("mnuhelp"));
    aboutAction = addNamedAction(helpMenu, tr("About"), u"mnuabout");
    aboutAction->setShortcut(QKeySequence(Qt::Key_F1));
}

void frmSplit::connectHandlers() {
    connect(sourceDrives, &DriveList::driveChanged, this, &frmSplit::sourceDriveChanged);
    connect(outputDrives, &DriveList::driveChanged, this, &frmSplit::outputDriveChanged);
    connect(sourceFolders, &FolderList::pathChanged, this, &frmSplit::sourceFolderChanged);
    connect(outputFolders, &FolderList::pathChanged, this, &frmSplit::outputFolderChanged);
    connect(addButton, &QPushButton::clicked, this, &frmSplit::addSelectedFile);
    connect(removeButton, &QPushButton::clicked, this, &frmSplit::removeSelectedFiles);
    connect(removeAction, &QAction::triggered, this, &frmSplit::removeSelectedFiles);
    // Every window is closed as its close button closes it, so that what must be settled before
    // a window goes (a run under way) is settled in one place, its close event; the program ends
    // with its last window.
    connect(quitAction, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    connect(pieceSizes, &QListWidget::itemSelectionChanged, this,
            &frmSplit::showCustomSizeWhenChosen);
    connect(splitButton, &QPushButton::clicked, this, &frmSplit::splitFiles);
    connect(piecesAction, &QAction::triggered, this, &frmSplit::splitIntoPieces);
    connect(remoteAction, &QAction::triggered, this, &frmSplit::splitToRemote);
    connect(this, &frmSplit::remotesListed, this, &frmSplit::splitToListedRemote,
            Qt::QueuedConnection);
    connect(aboutAction, &QAction::triggered, this, &frmSplit::showAbout);
    connect(joinAction, &QAction::triggered, this, [this] { join({}); });
    connect(verifyAction, &QAction::triggered, this, [this] { verify({}); });
}

void frmSplit::load() {
    const QString systemRoot = QDir::toNativeSeparators(QDir::rootPath());
    sourceFolders->setPath(systemRoot);
    outputFolders->setPath(systemRoot);
    customSizeCaption->hide();
    customSize->hide();
    for (const SizeRow &row : kSizeTable) {
        // The sizes read the same in every language; the custom row's label is translated.
        pieceSizes->addItem(QCoreApplication::translate("Sizes", row.label));
        pieceSizeBytes->addItem(QString::fromUtf16(row.bytes));
    }
}

void frmSplit::changeDrive(DriveList *drives, FolderList *folders, const QLabel *pathLabel) {
    const QString root = drives->drive();
    if (Scripting::FileSystemObject().GetDrive(root).IsReady()) {
        folders->setPath(root);
        return;
    }
    showMessage(tr("Drive not Available"), MessageIcon::Exclamation, tr("Directory Information"));
    // Back to the drive of the folder on show; that change opens it at its root.
    drives->setDrive(pathLabel->text());
}

void frmSplit::sourceDriveChanged() {
    changeDrive(sourceDrives, sourceFolders, sourcePath);
}

void frmSplit::outputDriveChanged() {
    changeDrive(outputDrives, outputFolders, outputPath);
}

void frmSplit::sourceFolderChanged() {
    sourceFiles->setPath(sourceFolders->path());
    sourcePath->setPath(sourceFolders->path());
}

void frmSplit::outputFolderChanged() {
    outputPath->setPath(outputFolders->path());
}

void frmSplit::addSelectedFile() {
    const QString fileName = sourceFiles->selectedFileName();
    if (fileName.isEmpty()) {
        showMessage(tr("select a file to copy"));
        return;
    }
    queueFile(sourceFolders->path(), fileName);
}

void frmSplit::queueFile(const QString &folder, const QString &fileName) {
    queue->append({withTrailingSeparator(folder) + fileName, fileName});
}

void frmSplit::queuePaths(const QStringList &files) {
    for (const QString &file : files) {
        const QFileInfo info(file);
        queueFile(QDir::toNativeSeparators(info.absolutePath()), info.fileName());
    }
}

bool frmSplit::isOverOutputBrowser(const QPoint &position) const {
    const QWidget *under = childAt(position);
    for (const QWidget *part :
         {static_cast<const QWidget *>(outputDrives), static_cast<const QWidget *>(outputFolders),
          static_cast<const QWidget *>(outputCaption), static_cast<const QWidget *>(outputPath)}) {
        if (under == part || part->isAncestorOf(under))
            return true;
    }
    return false;
}

bool frmSplit::acceptsDrop(QDropEvent *event) const {
    const FileDrop drop(event->mimeData());
    const bool accepted = isOverOutputBrowser(event->position().toPoint())
                              ? !drop.onlyFolder().isEmpty()
                              : !drop.files.isEmpty();
    // The file manager must never take a drop here for a move and delete its file.
    if (accepted && (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return true;
    }
    event->ignore();
    return false;
}

void frmSplit::dragEnterEvent(QDragEnterEvent *event) {
    // Any drop of files is let in, so that its moves over the window are reported; each
    // position then says whether it may be dropped there.
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmSplit::dragMoveEvent(QDragMoveEvent *event) {
    acceptsDrop(event);
}

void frmSplit::dropEvent(QDropEvent *event) {
    if (!acceptsDrop(event))
        return;
    const FileDrop drop(event->mimeData());
    if (isOverOutputBrowser(event->position().toPoint())) {
        browseTo(outputDrives, outputFolders, drop.onlyFolder());
        return;
    }
    queuePaths(drop.files);
    if (const QString leftOut = drop.leftOutMessage(); !leftOut.isEmpty())
        showMessage(leftOut, MessageIcon::Information);
}

void frmSplit::removeSelectedFiles() {
    const QModelIndexList selected = queueList->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        showMessage(tr("No items selected. Nothing Deleted."), MessageIcon::Error,
                    tr("Error: No Selected Items"));
        return;
    }
    QList<int> rows;
    for (const QModelIndex &index : selected)
        rows << index.row();
    queue->remove(rows);
}

void frmSplit::showCustomSizeWhenChosen() {
    const QList<QListWidgetItem *> chosen = pieceSizes->selectedItems();
    const bool custom = !chosen.isEmpty() && pieceSizes->row(chosen.first()) == kCustomRow;
    customSizeCaption->setVisible(custom);
    customSize->setVisible(custom);
}

Message frmSplit::noFilesMessage() {
    return {tr("No files to be converted.  You need to add files to be converted"),
            MessageIcon::Error, tr("Error: No selected Items")};
}

SplitRequest frmSplit::requestForQueue() const {
    SplitRequest request;
    request.queue = queue->files();
    request.outputFolder = outputFolders->path();
    for (const auto &[kind, option] : outputChoices) {
        if (!option->isChecked())
            request.leftOut << kind;
    }
    request.recovery = recoveryMenu->chosen();
    request.alignToBlocks = alignAction->isChecked();
    return request;
}

std::variant<SplitRequest, Message> frmSplit::validate() const {
    if (queue->rowCount() == 0)
        return noFilesMessage();
    const QList<QListWidgetItem *> chosen = pieceSizes->selectedItems();
    if (chosen.isEmpty())
        return Message(tr("No output file size selected.  You need to select the Output File "
                          "Size you want"),
                       MessageIcon::None, QString());
    const int row = pieceSizes->row(chosen.first());
    const std::optional<qint64> pieceLength = fullPieceLength(
        row == kCustomRow ? customSize->text() : QString::fromUtf16(kSizeTable.at(row).bytes));
    if (!pieceLength)
        return Message(tr("Custom Size is not Numeric.  It must be a number"), MessageIcon::None,
                       QString());
    SplitRequest request = requestForQueue();
    request.pieceLength = *pieceLength;
    return request;
}

void frmSplit::splitFiles() {
    const std::variant<SplitRequest, Message> checked = validate();
    if (const auto *problem = std::get_if<Message>(&checked)) {
        showMessage(*problem);
        return;
    }
    jobs->start(std::make_unique<SplitJob>(std::get<SplitRequest>(checked)));
}

void frmSplit::splitIntoPieces() {
    if (queue->rowCount() == 0) {
        showMessage(noFilesMessage());
        return;
    }
    const std::optional<int> pieces =
        askInteger(this, {tr("Split Into Pieces"), tr("Cut each file into how many pieces?"), 2, 1,
                          std::numeric_limits<int>::max()});
    if (!pieces)
        return;
    SplitRequest request = requestForQueue();
    request.pieceCount = *pieces;
    jobs->start(std::make_unique<SplitJob>(request));
}

void frmSplit::splitToRemote() {
    const std::variant<SplitRequest, Message> checked = validate();
    if (const auto *problem = std::get_if<Message>(&checked)) {
        showMessage(*problem);
        return;
    }
    remoteRequest = std::get<SplitRequest>(checked);
    remoteAction->setEnabled(false); // until rclone has answered
    remoteListing = std::make_unique<Task>([this] {
        QStringList remotes;
        try {
            remotes = Rclone::configuredRemotes()([] { return true; });
        } catch (const Failure &) { // none to offer: one is typed in instead
        }
        {
            const std::lock_guard lock(listedRemotesMutex);
            listedRemotes = std::move(remotes);
        }
        Q_EMIT remotesListed(QPrivateSignal()); // dropped with the window, where it closed
    });
}

void frmSplit::splitToListedRemote() {
    remoteListing.reset();
    remoteAction->setEnabled(true);
    QStringList remotes;
    {
        const std::lock_guard lock(listedRemotesMutex);
        remotes = std::exchange(listedRemotes, {});
    }
    const SplitRequest request = *std::exchange(remoteRequest, std::nullopt);
    const std::optional<RemoteDestination> destination = askRemoteDestination(this, remotes);
    if (!destination)
        return;
    RemoteSplitRequest remoteSplit{request, destination->makeFolder, destination->resume};
    remoteSplit.split.outputFolder = destination->text();
    jobs->start(std::make_unique<RemoteSplitJob>(std::move(remoteSplit)));
}

void frmSplit::sizeFor(const SizeTarget &target) {
    // A piece holds one byte less than the size, so this size gives pieces of the target.
    pieceSizes->setCurrentRow(kCustomRow);
    customSize->setText(QString::number(target.pieceBytes + 1));
}

void frmSplit::showAbout() {
    if (!aboutWindow)
        aboutWindow = std::make_unique<frmAbout>();
    aboutWindow->show();
    aboutWindow->raise();
    aboutWindow->activateWindow();
}

void frmSplit::queueFiles(const QStringList &paths) {
    const FileArguments given(paths);
    queuePaths(given.files);
    // Where the files came from, more of the same are most likely to be found.
    if (!given.files.isEmpty())
        browseTo(sourceDrives, sourceFolders,
                 QDir::toNativeSeparators(QFileInfo(given.files.first()).absolutePath()));
    if (const QString leftOut = given.leftOutMessage(); !leftOut.isEmpty())
        showMessage(leftOut, MessageIcon::Information);
}

void frmSplit::join(const QString &file) {
    // Pieces are most likely where the last split put them.
    const QString chosen = file.isEmpty() ? chooseFileToJoin(this, outputFolders->path()) : file;
    if (!chosen.isEmpty())
        jobs->start(std::make_unique<JoinJob>(chosen));
}

void frmSplit::verify(const QString &file) {
    const QString chosen = file.isEmpty() ? chooseFileToVerify(this, outputFolders->path()) : file;
    if (!chosen.isEmpty())
        jobs->start(std::make_unique<VerifyJob>(chosen));
}

void frmSplit::closeEvent(QCloseEvent *event) {
    if (!jobs->quitWhenStopped())
        event->ignore();
}
