#include "WaitWindowSlot.h"

#include "Failure.h"

#include "LauncherProgress.h"
#include "Task.h"
#include "frmWait.h"
#include "run/ProgressCounter.h"
#include "words/ProgressText.h"

#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

#include <chrono>
#include <exception>

namespace {

// Ten times a second: smooth to the eye, and no load on the run.
constexpr std::chrono::milliseconds kProgressInterval{100};

} // namespace

WaitWindowSlot::WaitWindowSlot() = default;
WaitWindowSlot::~WaitWindowSlot() = default;

void WaitWindowSlot::run(WaitFor what, const Work &work) {
    ProgressCounter progress;
    StopRequest stop;
    std::optional<Failure> failure;
    QEventLoop loop;

    m_window = std::make_unique<frmWait>(what);
    m_window->setWindowModality(Qt::ApplicationModal);
    QObject::connect(m_window.get(), &frmWait::stopRequested, m_window.get(),
                     [&stop] { stop.request(); });
    const ProgressText text;
    LauncherProgress launcher;
    QTimer ticks;
    ticks.setInterval(kProgressInterval);
    QObject::connect(&ticks, &QTimer::timeout, &ticks, [&] {
        const ProgressSnapshot now = progress.snapshot();
        const int permille = ProgressText::permille(now);
        m_window->showProgress(text.line(now), permille, !now.flushing);
        launcher.show(permille / 1000.0);
    });
    m_window->show();
    const auto unload = qScopeGuard([this] { m_window.reset(); });
    ticks.start();
    Task worker([&] {
        try {
            work(progress, stop);
        } catch (...) {
            failure = Failure::current();
        }
        // Posted: the loop ends once this thread's work is over, whenever it gets there.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop may end before the work does, when the program is asked to quit: the work is
    // asked to stop, so that the wait for it is short.
    stop.request();
    worker.wait();
    if (failure)
        throw *failure;
}
