#pragma once

class WaitWindowSlot;
struct RemoteSplitRequest;
struct SplitRequest;

// Split Files, once the window's own checks have passed: checks the whole request, splits it
// with the wait window up, and tells the user how it went.
class SplitCommand {
public:
    explicit SplitCommand(WaitWindowSlot &waitWindow);

    void run(const SplitRequest &request);
    // The same to a remote of rclone's: checked with the wait window up, rclone being asked.
    void run(const RemoteSplitRequest &request);

private:
    WaitWindowSlot &m_waitWindow;
};
