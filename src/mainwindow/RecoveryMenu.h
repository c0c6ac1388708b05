#pragma once

#include "split/SplitRequest.h"

#include <QMenu>

class QActionGroup;

// File > Recovery Files: how many lost pieces each split file's recovery files can rebuild,
// one choice of None, 1, 2 or 10 %. Where the par2 program is missing, only None can be
// chosen, and the menu says why.
class RecoveryMenu : public QMenu {
    Q_OBJECT
public:
    explicit RecoveryMenu(QWidget *parent);

    RecoveryAmount chosen() const;

private:
    QActionGroup *m_choices;
};
