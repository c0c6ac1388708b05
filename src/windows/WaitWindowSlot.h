#pragma once

#include "WaitWindowHost.h"

#include <memory>

class frmWait;

// The wait window of a split or a join: created on first use, shown without blocking, kept
// painted while the work goes on, unloaded at its end so that the next one creates it anew.
class WaitWindowSlot : public WaitWindowHost {
public:
    WaitWindowSlot();
    ~WaitWindowSlot() override;
    WaitWindowSlot(const WaitWindowSlot &) = delete;
    WaitWindowSlot &operator=(const WaitWindowSlot &) = delete;

    void showWaitWindow() override;
    // Lets the window system repaint; user input, and notices of changes to folders and drives,
    // stay queued until the work is over.
    void keepWaitWindowPainted() override;
    void unloadWaitWindow() override;

    frmWait *window() const { return m_window.get(); }

private:
    std::unique_ptr<frmWait> m_window;
};
