#include "words/ProgressText.h"

#include "words/ByteCounts.h"
#include "words/MessageText.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

class ProgressWords {
    Q_DECLARE_TR_FUNCTIONS(Progress)
};

} // namespace

ProgressText::ProgressText() {
    m_clock.start();
}

QString ProgressText::line(const ProgressSnapshot &now) const {
    const Parts all = parts(now);
    return all.name + all.place + all.done + all.total + all.left;
}

ProgressText::Parts ProgressText::parts(const ProgressSnapshot &now) const {
    if (now.flushing)
        return {{}, {}, ProgressWords::tr("Writing to disk\u2026"), {}, {}};
    if (now.file < 0)
        return {};
    // The check before the run reads what an earlier split left: "Checking report.doc.sha256".
    const QString name = now.checking
                             ? ProgressWords::tr("Checking %1").arg(printable(now.fileName))
                             : printable(now.fileName);
    Parts text{name, {}, QStringLiteral(": ") + bytesText(now.fileDone), {}, {}};
    if (now.files > 1)
        text.place = ProgressWords::tr(" (%1 of %2)").arg(now.file + 1).arg(now.files);
    // A file of /proc reports no length, and may hold more than it reports.
    if (now.fileDone <= now.fileBytes)
        text.total = ProgressWords::tr(" of %1").arg(bytesText(now.fileBytes));
    if (const std::optional<qint64> seconds = secondsLeft(now))
        text.left = QStringLiteral(", ") + timeLeft(*seconds);
    return text;
}

int ProgressText::permille(const ProgressSnapshot &now) {
    if (now.flushing)
        return 1000;
    if (now.totalBytes <= 0)
        return 0;
    return int(std::clamp(double(now.doneBytes) / double(now.totalBytes), 0.0, 1.0) * 1000);
}

std::optional<qint64> ProgressText::secondsLeft(const ProgressSnapshot &now) const {
    constexpr qint64 kTooEarlyMs = 2000;
    const qint64 elapsed = m_clock.elapsed();
    if (elapsed < kTooEarlyMs || now.doneBytes <= 0 || now.doneBytes >= now.totalBytes)
        return std::nullopt;
    const double bytesPerMs = double(now.doneBytes) / double(elapsed);
    return qint64(std::ceil(double(now.totalBytes - now.doneBytes) / bytesPerMs / 1000));
}

QString ProgressText::timeLeft(qint64 seconds) {
    if (seconds < 60) {
        // In steps of 5 s: a count that changes every tick reads as noise.
        return ProgressWords::tr("about %1 s left").arg(std::max<qint64>(5, (seconds + 4) / 5 * 5));
    }
    const qint64 minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return ProgressWords::tr("about %1 min left").arg(minutes);
    return ProgressWords::tr("about %1 h %2 min left").arg(minutes / 60).arg(minutes % 60);
}
