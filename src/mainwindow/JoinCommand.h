#pragma once

#include "join/JoinPlanner.h"

class QWidget;
class WaitWindowSlot;

// File, Join Files...: asks for a restore script (or a first piece), checks the join, asking
// the user where it must, joins the pieces with the wait window up, and tells the user how it
// went.
class JoinCommand : public JoinQuestions {
public:
    explicit JoinCommand(WaitWindowSlot &waitWindow);

    // Opens the file dialog in startFolder, then joins what the user chose.
    void run(QWidget *parent, const QString &startFolder);
    // Joins the pieces of chosen, a restore script or a first piece.
    void join(const QString &chosen);

    bool askYesNo(const QString &question) override;
    bool askYesNoLikelyYes(const QString &question) override;

private:
    WaitWindowSlot &m_waitWindow;
};
