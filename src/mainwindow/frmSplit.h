#pragma once

#include "JoinCommand.h"
#include "SplitCommand.h"
#include "VerifyCommand.h"
#include "WaitWindowSlot.h"

#include <QMainWindow>

#include <memory>

class DriveList;
class FileList;
class FolderList;
class PathLabel;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class frmAbout;

// The main window: the source browser and the file queue, the output browser, the piece size
// and the split command, which hands the choices on as a request.
class frmSplit : public QMainWindow {
    Q_OBJECT
public:
    explicit frmSplit(QWidget *parent = nullptr);
    ~frmSplit() override;

    // From the command line: queues the paths as Add File queues files, leaving out, with one
    // box, what is no file.
    void queueFiles(const QStringList &paths);
    // File > Join Files... and File > Verify Pieces... for file; an empty one is asked for.
    void join(const QString &file);
    void verify(const QString &file);

protected:
    // Files dropped from a file manager are queued as Add File queues them; a folder dropped
    // on the output browser becomes the output folder.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void Form_Load();

    void Drive1_Change();
    void Drive2_Change();
    void Dir1_Change();
    void Dir2_Change();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void List4_Click();
    void cmdSplit_Click();
    void mnuabout_Click();
    void mnujoin_Click();
    void mnuverify_Click();

    void queueFile(const QString &folder, const QString &fileName);
    bool isOverOutputBrowser(const QPoint &position) const;
    // Accepts the drop at its position, or refuses it, and says which.
    bool acceptsDrop(QDropEvent *event) const;
    void moveOutputBrowserTo(const QString &folder);

    void CheckSizeChosen();
    void CheckCustomSize();
    void ResolvePieceSize();

    // Shared by both browsers: a ready drive opens at its root; an unready one is refused and
    // the drive list goes back to the drive of the folder on show.
    void changeDrive(DriveList *drive, FolderList *folder, const QLabel *pathLabel);

    DriveList *Drive1 = nullptr;
    FileList *flbox1 = nullptr;
    FolderList *Dir1 = nullptr;
    PathLabel *lblPath = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *cmdAdd = nullptr;
    DriveList *Drive2 = nullptr;
    FolderList *Dir2 = nullptr;
    QLabel *Label2 = nullptr;
    PathLabel *lblPath2 = nullptr;
    QPushButton *cmdRemove = nullptr;
    QListWidget *List3 = nullptr;
    QListWidget *List4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtCustomSize = nullptr;
    QListWidget *List5 = nullptr;
    QPushButton *cmdSplit = nullptr;
    QMenu *mnufile = nullptr;
    QAction *mnujoin = nullptr;
    QAction *mnuverify = nullptr;
    QAction *mnuchecksums = nullptr;
    QMenu *mnuhelp = nullptr;
    QAction *mnuabout = nullptr;

    WaitWindowSlot m_waitWindow;
    SplitCommand m_splitCommand{m_waitWindow};
    JoinCommand m_joinCommand{m_waitWindow};
    VerifyCommand m_verifyCommand{m_waitWindow};
    std::unique_ptr<frmAbout> m_about;
};
