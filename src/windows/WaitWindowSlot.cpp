#include "WaitWindowSlot.h"

#include "RunProgress.h"
#include "frmWait.h"

#include <QEventLoop>
#include <QScopeGuard>

#include <exception>
#include <thread>

WaitWindowSlot::WaitWindowSlot() = default;
WaitWindowSlot::~WaitWindowSlot() = default;

void WaitWindowSlot::run(const Work &work) {
    ProgressSink progress;
    StopRequest stop;
    std::exception_ptr failure;
    QEventLoop loop;

    m_window = std::make_unique<frmWait>();
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->show();
    const auto unload = qScopeGuard([this] { m_window.reset(); });
    std::thread worker([&] {
        try {
            work(progress, stop);
        } catch (...) {
            failure = std::current_exception();
        }
        // Posted: the loop ends once this thread's work is over, whenever it gets there.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}
