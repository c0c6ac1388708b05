#pragma once

// The wait window, as the engine asks the window system to show it during a long task.
class WaitWindowHost {
public:
    virtual ~WaitWindowHost() = default;

    // Creates the wait window if needed, shows it and paints it at once.
    virtual void showWaitWindow() = 0;
    // Called about every 100 ms of work: let the window system repaint, leaving user input
    // queued until the work is over.
    virtual void keepWaitWindowPainted() = 0;
    virtual void unloadWaitWindow() = 0;
};

// For work without windows: there is nothing to show.
class NoWaitWindow : public WaitWindowHost {
public:
    void showWaitWindow() override {}
    void keepWaitWindowPainted() override {}
    void unloadWaitWindow() override {}
};

// Shows the wait window for its lifetime, taking it down on every path out.
class WaitWindowShown {
public:
    explicit WaitWindowShown(WaitWindowHost &host)
        : m_host(host) {
        m_host.showWaitWindow();
    }
    ~WaitWindowShown() { m_host.unloadWaitWindow(); }
    WaitWindowShown(const WaitWindowShown &) = delete;
    WaitWindowShown &operator=(const WaitWindowShown &) = delete;

private:
    WaitWindowHost &m_host;
};
