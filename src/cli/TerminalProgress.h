#pragma once

#include "Task.h"
#include "run/ProgressCounter.h"
#include "words/ProgressText.h"

#include <QByteArray>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

// A run's progress on a terminal, while it lives: a line every so often on a stream of its own
// thread, read from the counter the run tells.
class TerminalProgress {
public:
    enum class Style {
        Lines,   // one line each time, for a log
        Redrawn, // one line redrawn in place, with a bar, for a person at a terminal: as wide
                 // as the terminal, without escape sequences where it takes none
    };

    TerminalProgress(const ProgressCounter &counter, std::FILE *stream, Style style,
                     std::chrono::milliseconds interval);
    // The last line is finished: a full bar where every byte was written, else cleared.
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    // Prints text on lines of its own where the progress line stands, which is drawn again below
    // it at its next turn.
    void interject(const QString &text);

private:
    void print();
    void finishLine();
    // Takes the line drawn away, leaving the cursor at its start. Under m_mutex.
    void clearLine();
    // Over the frame drawn before, from the line's start, as wide as the terminal is now.
    void draw(int permille, const ProgressText::Parts &parts);
    // Blanks from columns to the end of what was drawn, within the terminal's width.
    QByteArray blanksOverDrawn(int columns) const;

    const ProgressCounter &m_counter;
    std::FILE *m_stream;
    const Style m_style;
    const std::chrono::milliseconds m_interval;
    const ProgressText m_text;
    const bool m_escapes;
    int m_drawnColumns = 0;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_printed = false;
    Task m_task; // last: it starts once the rest is made
};
