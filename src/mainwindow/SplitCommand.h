#pragma once

class WaitWindowSlot;
struct SplitRequest;

// Split Files, once the window's own checks have passed: checks the whole request, splits it
// with the wait window up, and tells the user how it went.
class SplitCommand {
public:
    explicit SplitCommand(WaitWindowSlot &waitWindow);

    void run(const SplitRequest &request);

private:
    WaitWindowSlot &m_waitWindow;
};
