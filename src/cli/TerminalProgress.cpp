#include "TerminalProgress.h"

#include "Columns.h"
#include "ProgressFrame.h"
#include "TerminalTraits.h"

#include <QByteArray>

#include <algorithm>

TerminalProgress::TerminalProgress(const ProgressCounter &counter, std::FILE *stream, Style style,
                                   std::chrono::milliseconds interval)
    : m_counter(counter)
    , m_stream(stream)
    , m_style(style)
    , m_interval(interval)
    , m_escapes(TerminalTraits::takesEscapes())
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
    if (end.flushing || (end.totalBytes > 0 && end.doneBytes >= end.totalBytes)) {
        draw(1000, {{}, {}, QStringLiteral("100%"), {}, {}});
        std::fputs("\n", m_stream);
    } else {
        clearLine();
    }
    std::fflush(m_stream);
}

void TerminalProgress::clearLine() {
    if (m_escapes)
        std::fputs("\r\033[K", m_stream);
    else
        std::fprintf(m_stream, "\r%s\r", blanksOverDrawn(0).constData());
    m_drawnColumns = 0;
}

void TerminalProgress::interject(const QString &text) {
    const std::lock_guard lock(m_mutex);
    if (m_printed && m_style == Style::Redrawn)
        clearLine();
    std::fprintf(m_stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(m_stream);
}

QByteArray TerminalProgress::blanksOverDrawn(int columns) const {
    const int drawn = std::min(m_drawnColumns, TerminalTraits::columns(m_stream) - 1);
    return QByteArray(std::max(drawn - columns, 0), ' ');
}

void TerminalProgress::draw(int permille, const ProgressText::Parts &parts) {
    const QString frame = progressFrame(permille, parts, TerminalTraits::columns(m_stream));
    const int columns = Columns::of(frame);
    const QByteArray bytes =
        '\r' + frame.toLocal8Bit() + (m_escapes ? QByteArray("\033[K") : blanksOverDrawn(columns));
    std::fputs(bytes.constData(), m_stream);
    m_drawnColumns = std::max(m_drawnColumns, columns);
}

void TerminalProgress::print() {
    const ProgressSnapshot now = m_counter.snapshot();
    if (m_style == Style::Lines) {
        const QString line = m_text.line(now);
        if (line.isEmpty())
            return;
        std::fprintf(m_stream, "%s\n", line.toLocal8Bit().constData());
    } else {
        const ProgressText::Parts parts = m_text.parts(now);
        if (parts.done.isEmpty())
            return;
        draw(ProgressText::permille(now), parts);
    }
    std::fflush(m_stream);
    m_printed = true;
}
