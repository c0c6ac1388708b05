#pragma once

#include "WaitFor.h"

#include <functional>
#include <memory>

class ProgressSink;
class StopRequest;
class frmWait;

// The wait window of a split, a join or a check, up while the work runs on a thread of its own.
// The window is created for each run and unloaded at its end, so that the next one creates it
// anew.
class WaitWindowSlot {
public:
    WaitWindowSlot();
    ~WaitWindowSlot();
    WaitWindowSlot(const WaitWindowSlot &) = delete;
    WaitWindowSlot &operator=(const WaitWindowSlot &) = delete;

    using Work = std::function<void(ProgressSink &progress, const StopRequest &stop)>;

    // Shows the wait window, named for what it waits for, runs work on a thread of its own, and
    // returns once it has returned and the window is gone. Meanwhile this thread goes on handling
    // events, so every window keeps painted and the desktop answered, while the wait window, being
    // modal, holds the input of every other window. The window and the launcher entry show what
    // work tells progress, ten times a second; Cancel, Escape and closing the window request stop.
    // What work throws is thrown again here, as a Failure; so is a thread the system would not
    // start.
    void run(WaitFor what, const Work &work);

    frmWait *window() const { return m_window.get(); }

private:
    std::unique_ptr<frmWait> m_window;
};
