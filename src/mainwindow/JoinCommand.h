#pragma once

#include "JoinHost.h"

class QWidget;
class WaitWindowSlot;

// File, Join Files...: asks for a restore script (or a first piece), joins its pieces with the
// wait window up, and tells the user how it went. Answers the join's questions with boxes.
class JoinCommand : public JoinHost {
public:
    explicit JoinCommand(WaitWindowSlot &waitWindow);

    // Opens the file dialog in startFolder, then joins what the user chose.
    void run(QWidget *parent, const QString &startFolder);

    bool askYesNo(const QString &question) override;
    WaitWindowHost &waitWindow() override;
    void showRestoredMessage(const QString &text) override;

private:
    WaitWindowSlot &m_waitWindow;
};
