#pragma once

#include <QWidget>

class QLabel;

// Tells the user that a split is under way; shown for the length of a run.
class frmWait : public QWidget {
    Q_OBJECT
public:
    explicit frmWait(QWidget *parent = nullptr);

private:
    QLabel *m_label1;
};
