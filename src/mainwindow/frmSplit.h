#pragma once

#include "JobWindow.h"
#include "MessageBox.h"
#include "names/OutputNames.h"
#include "split/SplitRequest.h"

#include <QMainWindow>

#include <memory>
#include <mutex>
#include <optional>
#include <variant>

class DriveList;
class FileList;
class FolderList;
class PathLabel;
class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QPushButton;
class QueueModel;
class RecoveryMenu;
class Task;
class frmAbout;
struct SizeTarget;

// The main window: the source browser and the file queue, the output browser, the piece size
// and the split command, which hands the choices on as a request.
class frmSplit : public QMainWindow {
    Q_OBJECT
public:
    // Its runs work through files.
    explicit frmSplit(const FileSystem &files = FileSystem::system(), QWidget *parent = nullptr);
    ~frmSplit() override;

    // From the command line: queues the paths as Add File queues files, leaving out, with one
    // box, what is no file, and opens the source browser on the first file's folder.
    void queueFiles(const QStringList &paths);
    // File > Join Files... and File > Verify Pieces... for file; an empty one is asked for.
    void join(const QString &file);
    void verify(const QString &file);

    // What Split Files would split, taken from the controls, or the first message that stands
    // in its way: no files queued, no size chosen, a custom size that is no number.
    std::variant<SplitRequest, Message> validate() const;

protected:
    // While a run is under way, the window goes only once the user agrees to stop it, and then
    // once it has stopped.
    void closeEvent(QCloseEvent *event) override;
    // Files dropped from a file manager are queued as Add File queues them; a folder dropped
    // on the output browser becomes the output folder.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

Q_SIGNALS:
    // From the thread that asked rclone: its remotes are in listedRemotes.
    void remotesListed(QPrivateSignal);

private:
    void createControls();
    void createSourceBrowser(QWidget *client);
    void createQueue(QWidget *client);
    void createOutputBrowser(QWidget *client);
    void createSizeChoice(QWidget *client);
    // Names and descriptions for assistive technology.
    void describeControls();
    void createFileMenu();
    void createSizeForMenu();
    void createHelpMenu();
    void connectHandlers();
    void load();

    void sourceDriveChanged();
    void outputDriveChanged();
    void sourceFolderChanged();
    void outputFolderChanged();
    void addSelectedFile();
    void removeSelectedFiles();
    void showCustomSizeWhenChosen();
    void splitFiles();
    void splitIntoPieces();
    void splitToRemote();
    // Once the remotes of rclone's configuration are known: asks where, and splits there.
    void splitToListedRemote();
    void sizeFor(const SizeTarget &target);
    void showAbout();

    void queueFile(const QString &folder, const QString &fileName);
    void queuePaths(const QStringList &files);
    bool isOverOutputBrowser(const QPoint &position) const;
    // Accepts the drop at its position, or refuses it, and says which.
    bool acceptsDrop(QDropEvent *event) const;

    // The request for the queue as it stands, with every choice but how it is cut.
    SplitRequest requestForQueue() const;
    static Message noFilesMessage();

    // Shared by both browsers: a ready drive opens at its root; an unready one is refused and
    // the drive list goes back to the drive of the folder on show.
    void changeDrive(DriveList *drives, FolderList *folders, const QLabel *pathLabel);

    DriveList *sourceDrives = nullptr;
    FileList *sourceFiles = nullptr;
    FolderList *sourceFolders = nullptr;
    PathLabel *sourcePath = nullptr;
    QueueModel *queue = nullptr;
    QListView *queueList = nullptr;
    QLabel *queueCaption = nullptr;
    QPushButton *addButton = nullptr;
    DriveList *outputDrives = nullptr;
    FolderList *outputFolders = nullptr;
    QLabel *outputCaption = nullptr;
    PathLabel *outputPath = nullptr;
    QPushButton *removeButton = nullptr;
    QListView *queueNames = nullptr; // hidden
    QListWidget *pieceSizes = nullptr;
    QLabel *sizeCaption = nullptr;
    QLabel *customSizeCaption = nullptr;
    QLineEdit *customSize = nullptr;
    QListWidget *pieceSizeBytes = nullptr; // hidden
    QPushButton *splitButton = nullptr;
    QMenu *fileMenu = nullptr;
    QAction *joinAction = nullptr;
    QAction *verifyAction = nullptr;
    // The outputs the user may do without, each with its item.
    QList<QPair<OutputNames::Kind, QAction *>> outputChoices;
    QAction *piecesAction = nullptr;
    QAction *remoteAction = nullptr;
    QMenu *sizeForMenu = nullptr;
    QAction *alignAction = nullptr; // sizes rounded down to whole blocks of the output volume
    QAction *removeAction = nullptr;
    QAction *quitAction = nullptr;
    RecoveryMenu *recoveryMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *aboutAction = nullptr;

    // Runs every split, join and check of the window, one at a time.
    JobWindow *jobs = nullptr;
    std::unique_ptr<frmAbout> aboutWindow;
    // Asks rclone for its remotes, away from the window's thread, which it would stop for as
    // long as rclone takes; what it found waits under a mutex of our own rather than in Qt's
    // event, so that the hand-over is one the thread sanitizer sees.
    std::mutex listedRemotesMutex;
    QStringList listedRemotes;
    std::optional<SplitRequest> remoteRequest; // the queue as it was when the item was chosen
    std::unique_ptr<Task> remoteListing;       // last: it goes first, and waits for the thread
};
