#pragma once

#include <QString>

class QWidget;
class WaitWindowSlot;

// File, Verify Pieces...: asks for a checksum list, a restore script or a first piece, checks
// every piece (and the joined file, where it stands beside them) against the list with the wait
// window up, writes nothing, and shows what matched.
class VerifyCommand {
public:
    explicit VerifyCommand(WaitWindowSlot &waitWindow);

    // Opens the file dialog in startFolder, then checks the pieces of what the user chose.
    void run(QWidget *parent, const QString &startFolder);
    void verify(const QString &chosen);

private:
    WaitWindowSlot &m_waitWindow;
};
