#include "WaitWindowSlot.h"

#include "frmWait.h"

#include <QCoreApplication>

WaitWindowSlot::WaitWindowSlot() = default;
WaitWindowSlot::~WaitWindowSlot() = default;

void WaitWindowSlot::show() {
    if (!m_window)
        m_window = std::make_unique<frmWait>();
    m_window->show();
    // The window must be mapped and painted before the run holds the event loop.
    keepPainted();
    m_window->repaint();
}

void WaitWindowSlot::keepPainted() {
    // Neither the user nor the notices of the folders and drives on show (which arrive on
    // sockets) may change the browsers while the work reads them.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers);
}

void WaitWindowSlot::unload() {
    m_window.reset();
}
