#pragma once

#include "jobs/Job.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

// Tells the user that a split, a join or a check is under way, how far it is, and lets them
// stop it: Cancel, Escape and closing the window all ask to stop, and Ctrl+Q to stop and quit.
class frmWait : public QWidget {
    Q_OBJECT
public:
    explicit frmWait(Job::Kind what, QWidget *parent = nullptr);

    // line: "report.doc (2 of 5): 1.2 GB of 4.0 GB, ..."; permille: the bar, in thousandths.
    // A run that can no longer be stopped (it only waits for the disk) disables Cancel.
    void showProgress(const QString &line, int permille, bool stoppable);

Q_SIGNALS:
    void stopRequested();
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void nameTheWork(Job::Kind what);

    QLabel *m_label1;
    QProgressBar *m_progress;
    QLabel *m_line;
    QPushButton *m_cancel;
};
