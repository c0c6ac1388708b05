#pragma once

#include "run/ProgressCounter.h"

#include <QElapsedTimer>
#include <QString>

#include <optional>

// How a run's progress reads to a person, in a window or a terminal:
// "report.doc (2 of 5): 1.2 GB of 4.0 GB, about 1 min left", and "Writing to disk…" while the
// run waits for the disk.
class ProgressText {
public:
    ProgressText(); // the run starts now

    QString line(const ProgressSnapshot &now) const;
    // The line in its parts, for a place too narrow for all of it: the file's name, which may be
    // shortened; " (2 of 5)"; ": 1.2 GB" (or "Writing to disk…", the name empty); " of 4.0 GB";
    // ", about 1 min left". Each is empty where the line has none.
    struct Parts {
        QString name;
        QString place;
        QString done;
        QString total;
        QString left;
    };
    Parts parts(const ProgressSnapshot &now) const;
    // The run's bytes done, in thousandths.
    static int permille(const ProgressSnapshot &now);

    // From the rate so far; nothing in the first two seconds, too early to tell.
    std::optional<qint64> secondsLeft(const ProgressSnapshot &now) const;
    // "about 20 s left", "about 4 min left", "about 1 h 5 min left".
    static QString timeLeft(qint64 seconds);

private:
    QElapsedTimer m_clock;
};
