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
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WaitWindowSlot::unload() {
    m_window.reset();
}
