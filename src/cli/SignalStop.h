#pragma once

class StopRequest;

// For runs in a terminal: while it lives, SIGINT (Ctrl+C), SIGTERM, SIGHUP (the terminal or
// the SSH session went away) and SIGQUIT ask the run to stop, as Cancel does in the window, so
// that the run leaves what a stop leaves rather than what a killed process leaves; but for one
// the process was started ignoring. One at a time.
class SignalStop {
public:
    explicit SignalStop(StopRequest &stop);
    ~SignalStop();
    SignalStop(const SignalStop &) = delete;
    SignalStop &operator=(const SignalStop &) = delete;

    // The signal that asked to stop, or 0.
    static int received();
    // The exit status a shell expects of a program a signal ended: 128 + its number.
    static int exitStatus() { return 128 + received(); }
};
