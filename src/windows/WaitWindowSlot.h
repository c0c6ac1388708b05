#pragma once

#include <memory>

class frmWait;

// The wait window of a split run: created on first use, shown without blocking, kept painted
// while the run works, unloaded at its end so that the next run creates it anew.
class WaitWindowSlot {
public:
    WaitWindowSlot();
    ~WaitWindowSlot();
    WaitWindowSlot(const WaitWindowSlot &) = delete;
    WaitWindowSlot &operator=(const WaitWindowSlot &) = delete;

    void show();
    // Lets the window system repaint; user input, and notices of changes to folders and drives,
    // stay queued until the run is over.
    void keepPainted();
    void unload();

    frmWait *window() const { return m_window.get(); }

private:
    std::unique_ptr<frmWait> m_window;
};
