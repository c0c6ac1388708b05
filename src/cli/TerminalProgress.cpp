#include "TerminalProgress.h"

#include <QByteArray>

TerminalProgress::TerminalProgress(const ProgressCounter &counter, std::FILE *stream, Style style,
                                   std::chrono::milliseconds interval)
    : m_counter(counter)
    , m_stream(stream)
    , m_style(style)
    , m_interval(interval)
    , m_task([this] {
        std::unique_lock lock(m_mutex);
        while (!m_wake.wait_for(lock, m_interval, [this] { return m_done; }))
            print();
    }) {}

TerminalProgress::~TerminalProgress() {
    {
        const std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_wake.notify_all();
    m_task.wait();
    if (m_printed && m_style == Style::Redrawn)
        finishLine();
}

void TerminalProgress::finishLine() {
    // Full where every byte was written; else the line goes, so that no stale estimate stays
    // behind the run's own message.
    const ProgressSnapshot end = m_counter.snapshot();
    if (end.flushing || (end.totalBytes > 0 && end.doneBytes >= end.totalBytes))
        std::fprintf(m_stream, "\r[%s] 100%%\033[K\n", QByteArray(kBarWidth, '#').constData());
    else
        std::fputs("\r\033[K", m_stream);
    std::fflush(m_stream);
}

void TerminalProgress::print() {
    const ProgressSnapshot now = m_counter.snapshot();
    const QString line = m_text.line(now);
    if (line.isEmpty())
        return;
    if (m_style == Style::Lines) {
        std::fprintf(m_stream, "%s\n", line.toLocal8Bit().constData());
    } else {
        const int filled = ProgressText::permille(now) * kBarWidth / 1000;
        const QByteArray bar = QByteArray(filled, '#') + QByteArray(kBarWidth - filled, '-');
        // \r back to the start, then the line, then erase what a longer line left.
        std::fprintf(m_stream, "\r[%s] %s\033[K", bar.constData(), line.toLocal8Bit().constData());
    }
    std::fflush(m_stream);
    m_printed = true;
}
