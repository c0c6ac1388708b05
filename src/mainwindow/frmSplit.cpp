#include "frmSplit.h"

#include "DriveList.h"
#include "FileArguments.h"
#include "FileDrop.h"
#include "FileList.h"
#include "FileSystemObject.h"
#include "FolderList.h"
#include "FontFit.h"
#include "MessageBox.h"
#include "Numeric.h"
#include "PathLabel.h"
#include "Paths.h"
#include "ProgramIcons.h"
#include "Twips.h"
#include "frmAbout.h"
#include "sizes/PieceLength.h"
#include "sizes/SizeTable.h"
#include "split/SplitRequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>

namespace {

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

} // namespace

frmSplit::frmSplit(QWidget *parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmSplit"));
    setWindowTitle(QStringLiteral("Tessary"));
    setWindowIcon(programIcon());
    setAcceptDrops(true);
    createControls();
    connectHandlers();
    Form_Load();
}

frmSplit::~frmSplit() = default;

void frmSplit::createControls() {
    // Controls keep their place when the window is resized: the client area has no layout.
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(twipsToPixels(this, 12000, 8520));
    setCentralWidget(client);

    // Created in tab order.
    Drive1 = place<DriveList>(client, u"Drive1", 240, 480, 3375, 315);
    flbox1 = place<FileList>(client, u"flbox1", 3720, 480, 3255, 2430);
    Dir1 = place<FolderList>(client, u"Dir1", 240, 960, 3255, 1890);
    lblPath =
        placeLabel<PathLabel>(client, u"lblPath", QStringLiteral("Label1"), 240, 120, 6735, 255);
    List1 = place<QListWidget>(client, u"List1", 240, 3600, 8775, 1230);
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    Label1 =
        placeLabel(client, u"Label1", QStringLiteral("Files to Convert"), 240, 3360, 1575, 255);
    cmdAdd = place<QPushButton>(client, u"cmdAdd", 7080, 480, 1215, 495);
    cmdAdd->setText(QStringLiteral("Add File"));
    Drive2 = place<DriveList>(client, u"Drive2", 240, 6480, 3375, 315);
    Dir2 = place<FolderList>(client, u"Dir2", 240, 6960, 3375, 1215);
    Label2 =
        placeLabel(client, u"Label2", QStringLiteral("Output Directory:"), 360, 6120, 1335, 255);
    lblPath2 =
        placeLabel<PathLabel>(client, u"lblPath2", QStringLiteral("Label3"), 1800, 6120, 3855, 375);
    cmdRemove = place<QPushButton>(client, u"cmdRemove", 360, 5160, 1575, 495);
    cmdRemove->setText(QStringLiteral("Remove File"));
    List3 = place<QListWidget>(client, u"List3", 8400, 1200, 855, 450);
    List3->hide();
    List4 = place<QListWidget>(client, u"List4", 6120, 5520, 2535, 1815);
    List4->setSelectionMode(QAbstractItemView::SingleSelection);
    Label3 =
        placeLabel(client, u"Label3", QStringLiteral("Output File Size"), 6120, 5280, 2655, 255);
    Label4 =
        placeLabel(client, u"Label4", QStringLiteral("Custom Size Bytes"), 6120, 7440, 1455, 255);
    txtCustomSize = place<QLineEdit>(client, u"txtCustomSize", 6120, 7680, 2535, 375);
    // A file dropped there is meant for the queue, not as text for the size.
    txtCustomSize->setAcceptDrops(false);
    List5 = place<QListWidget>(client, u"List5", 9360, 1200, 975, 450);
    List5->hide();
    cmdSplit = place<QPushButton>(client, u"cmdSplit", 3600, 5160, 1695, 495);
    cmdSplit->setText(QStringLiteral("Split Files"));

    fitFontToCaptions(client, {Label1, Label2, Label3, Label4, cmdAdd, cmdRemove, cmdSplit});

    // Joining pieces again here, beside the restore scripts made for Windows.
    mnufile = menuBar()->addMenu(QStringLiteral("&File"));
    mnufile->setObjectName(QStringLiteral("mnufile"));
    mnujoin = mnufile->addAction(QStringLiteral("&Join Files..."));
    mnujoin->setObjectName(QStringLiteral("mnujoin"));
    mnuverify = mnufile->addAction(QStringLiteral("&Verify Pieces..."));
    mnuverify->setObjectName(QStringLiteral("mnuverify"));
    mnufile->addSeparator();
    // For this window only: every split writes its checksum list unless the user says no.
    mnuchecksums = mnufile->addAction(QStringLiteral("Write &Checksums"));
    mnuchecksums->setObjectName(QStringLiteral("mnuchecksums"));
    mnuchecksums->setCheckable(true);
    mnuchecksums->setChecked(true);

    mnuhelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
    mnuabout = mnuhelp->addAction(QStringLiteral("About"));
    mnuabout->setObjectName(QStringLiteral("mnuabout"));

    resize(client->minimumWidth(), client->minimumHeight() + menuBar()->sizeHint().height());
}

void frmSplit::connectHandlers() {
    connect(Drive1, &DriveList::driveChanged, this, &frmSplit::Drive1_Change);
    connect(Drive2, &DriveList::driveChanged, this, &frmSplit::Drive2_Change);
    connect(Dir1, &FolderList::pathChanged, this, &frmSplit::Dir1_Change);
    connect(Dir2, &FolderList::pathChanged, this, &frmSplit::Dir2_Change);
    connect(cmdAdd, &QPushButton::clicked, this, &frmSplit::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmSplit::cmdRemove_Click);
    connect(List4, &QListWidget::itemSelectionChanged, this, &frmSplit::List4_Click);
    connect(cmdSplit, &QPushButton::clicked, this, &frmSplit::cmdSplit_Click);
    connect(mnuabout, &QAction::triggered, this, &frmSplit::mnuabout_Click);
    connect(mnujoin, &QAction::triggered, this, &frmSplit::mnujoin_Click);
    connect(mnuverify, &QAction::triggered, this, &frmSplit::mnuverify_Click);
}

void frmSplit::Form_Load() {
    const QString systemRoot = QDir::toNativeSeparators(QDir::rootPath());
    Dir1->setPath(systemRoot);
    Dir2->setPath(systemRoot);
    Label4->hide();
    txtCustomSize->hide();
    for (const SizeRow &row : kSizeTable) {
        List4->addItem(QString::fromUtf16(row.label));
        List5->addItem(QString::fromUtf16(row.bytes));
    }
}

void frmSplit::changeDrive(DriveList *drive, FolderList *folder, const QLabel *pathLabel) {
    const QString root = drive->drive();
    if (Scripting::FileSystemObject().GetDrive(root).IsReady()) {
        folder->setPath(root);
        return;
    }
    showMessage(QStringLiteral("Drive not Available"), MessageIcon::Exclamation,
                QStringLiteral("Directory Information"));
    // Back to the drive of the folder on show; that change opens it at its root.
    drive->setDrive(pathLabel->text());
}

void frmSplit::Drive1_Change() {
    changeDrive(Drive1, Dir1, lblPath);
}

void frmSplit::Drive2_Change() {
    changeDrive(Drive2, Dir2, lblPath2);
}

void frmSplit::Dir1_Change() {
    flbox1->setPath(Dir1->path());
    lblPath->setPath(Dir1->path());
}

void frmSplit::Dir2_Change() {
    lblPath2->setPath(Dir2->path());
}

void frmSplit::cmdAdd_Click() {
    const QString fileName = flbox1->selectedFileName();
    if (fileName.isEmpty()) {
        showMessage(QStringLiteral("select a file to copy"));
        return;
    }
    queueFile(Dir1->path(), fileName);
}

void frmSplit::queueFile(const QString &folder, const QString &fileName) {
    List1->addItem(withTrailingSeparator(folder) + fileName);
    List3->addItem(fileName);
}

bool frmSplit::isOverOutputBrowser(const QPoint &position) const {
    const QWidget *under = childAt(position);
    for (const QWidget *part :
         {static_cast<const QWidget *>(Drive2), static_cast<const QWidget *>(Dir2),
          static_cast<const QWidget *>(Label2), static_cast<const QWidget *>(lblPath2)}) {
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
        moveOutputBrowserTo(drop.onlyFolder());
        return;
    }
    for (const QString &file : drop.files) {
        const QFileInfo info(file);
        queueFile(QDir::toNativeSeparators(info.absolutePath()), info.fileName());
    }
    if (const QString leftOut = drop.leftOutMessage(); !leftOut.isEmpty())
        showMessage(leftOut, MessageIcon::Information);
}

void frmSplit::moveOutputBrowserTo(const QString &folder) {
    // As if the user had browsed there: the drive list shows its volume without sending the
    // browser to that volume's root.
    {
        const QSignalBlocker quiet(Drive2);
        Drive2->setDrive(folder);
    }
    Dir2->setPath(folder);
}

void frmSplit::cmdRemove_Click() {
    if (List1->selectedItems().isEmpty()) {
        showMessage(QStringLiteral("No items selected. Nothing Deleted."), MessageIcon::Error,
                    QStringLiteral("Error: No Selected Items"));
        return;
    }
    int i = 0;
    while (i < List1->count()) {
        if (List1->item(i)->isSelected()) {
            delete List1->takeItem(i);
            delete List3->takeItem(i);
        } else {
            ++i;
        }
        QCoreApplication::processEvents();
    }
}

void frmSplit::List4_Click() {
    const bool custom = !List4->selectedItems().isEmpty() && List4->item(0)->isSelected();
    Label4->setVisible(custom);
    txtCustomSize->setVisible(custom);
}

void frmSplit::cmdSplit_Click() {
    if (List1->count() == 0) {
        showMessage(
            QStringLiteral("No files to be converted.  You need to add files to be converted"),
            MessageIcon::Error, QStringLiteral("Error: No selected Items"));
        return;
    }
    CheckSizeChosen();
}

void frmSplit::CheckSizeChosen() {
    if (List4->selectedItems().isEmpty()) {
        showMessage(QStringLiteral("No output file size selected.  You need to select the "
                                   "Output File Size you want"));
        return;
    }
    CheckCustomSize();
}

void frmSplit::CheckCustomSize() {
    if (List4->item(0)->isSelected() && !isNumeric(txtCustomSize->text())) {
        showMessage(QStringLiteral("Custom Size is not Numeric.  It must be a number"));
        return;
    }
    ResolvePieceSize();
}

void frmSplit::ResolvePieceSize() {
    QString pieceSize;
    if (List4->item(0)->isSelected()) {
        pieceSize = txtCustomSize->text();
    } else {
        for (int i = 0; i < List4->count(); ++i) {
            if (List4->item(i)->isSelected())
                pieceSize = List5->item(i)->text();
        }
    }
    // The checks above passed: the size is a number.
    SplitRequest request;
    request.outputFolder = Dir2->path();
    request.pieceLength = fullPieceLength(pieceSize).value_or(1);
    request.writeChecksums = mnuchecksums->isChecked();
    for (int i = 0; i < List1->count(); ++i)
        request.queue.append({List1->item(i)->text(), List3->item(i)->text()});
    m_splitCommand.run(request);
}

void frmSplit::mnuabout_Click() {
    if (!m_about)
        m_about = std::make_unique<frmAbout>();
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void frmSplit::mnujoin_Click() {
    join({});
}

void frmSplit::mnuverify_Click() {
    verify({});
}

void frmSplit::queueFiles(const QStringList &paths) {
    const FileArguments given(paths);
    for (const QString &file : given.files) {
        const QFileInfo info(file);
        queueFile(QDir::toNativeSeparators(info.absolutePath()), info.fileName());
    }
    if (const QString leftOut = given.leftOutMessage(); !leftOut.isEmpty())
        showMessage(leftOut, MessageIcon::Information);
}

void frmSplit::join(const QString &file) {
    if (!file.isEmpty())
        m_joinCommand.join(file);
    else // pieces are most likely where the last split put them
        m_joinCommand.run(this, Dir2->path());
}

void frmSplit::verify(const QString &file) {
    if (!file.isEmpty())
        m_verifyCommand.verify(file);
    else
        m_verifyCommand.run(this, Dir2->path());
}
