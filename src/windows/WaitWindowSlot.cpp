#include "WaitWindowSlot.h"

#include "frmWait.h"

#include <QCoreApplication>

WaitWindowSlot::WaitWindowSlot() = default;
WaitWindowSlot::~WaitWindowSlot() = default;

void WaitWindowSlot::showWaitWindow() {
    if (!m_window)
        m_window = std::make_unique<frmWait>();
    m_window->show();
    // The window must be mapped and painted before the run holds the event loop.
    keepWaitWindowPainted();
    m_window->repaint();
}

void WaitWindowSlot::keepWaitWindowPainted() {
    // Neither the user nor the notices of the folders and drives on show (which arrive on
    // sockets) may change the browsers while the work reads them.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers);
}

void WaitWindowSlot::unloadWaitWindow() {
    m_window.reset();
}
