#include "SignalStop.h"

#include "run/RunProgress.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<StopRequest *> g_stop{nullptr};
static_assert(std::atomic<StopRequest *>::is_always_lock_free); // safe in a signal handler
// Atomic rather than volatile sig_atomic_t: the handler runs on whichever thread the signal
// lands on, and two signals can land on two threads at once.
std::atomic<int> g_received{0};
static_assert(std::atomic<int>::is_always_lock_free);
// Ctrl+C, kill, a terminal or SSH session that went away, and Ctrl+Backslash.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kCount = sizeof kSignals / sizeof kSignals[0];
struct sigaction g_previous[kCount];
bool g_installed[kCount];

extern "C" void askToStop(int signal) {
    g_received = signal;
    if (StopRequest *stop = g_stop.load())
        stop->request();
}

} // namespace

SignalStop::SignalStop(StopRequest &stop) {
    g_stop = &stop;
    g_received = 0;
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kCount; ++i) {
        // One the caller ignores (nohup, a shell's background job) was meant to reach no run:
        // it stays ignored.
        const bool ignored = sigaction(kSignals[i], nullptr, &g_previous[i]) != 0 ||
                             g_previous[i].sa_handler == SIG_IGN;
        g_installed[i] = !ignored && sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

SignalStop::~SignalStop() {
    for (int i = 0; i < kCount; ++i) {
        if (g_installed[i])
            sigaction(kSignals[i], &g_previous[i], nullptr);
    }
    g_stop = nullptr;
}

int SignalStop::received() {
    return g_received;
}
