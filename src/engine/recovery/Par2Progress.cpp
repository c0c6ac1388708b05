#include "recovery/Par2Progress.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace {

// The share of "Processing: 12.5%" and the like after word, as 0.125.
std::optional<double> percentAfter(const QString &line, const QString &word) {
    if (!line.startsWith(word))
        return std::nullopt;
    static const QRegularExpression percent(QStringLiteral("([0-9]+(?:\\.[0-9]+)?)%"));
    const QRegularExpressionMatch match = percent.match(line, word.size());
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toDouble() / 100;
}

} // namespace

Par2Progress::Par2Progress(Work work, qint64 pieces, std::function<void(double)> told)
    : m_work(work)
    , m_pieces(std::max<qint64>(pieces, 1))
    , m_told(std::move(told)) {}

void Par2Progress::operator()(const QString &line) {
    if (m_work == Work::Create) {
        if (const std::optional<double> done = percentAfter(line, QStringLiteral("Processing:")))
            tell(*done);
        return;
    }
    const double checking = m_work == Work::Verify ? 1.0 : 0.5;
    if (!m_repairing && line.startsWith(QStringLiteral("Target: "))) {
        ++m_looked;
        tell(checking * double(std::min(m_looked, m_pieces)) / double(m_pieces));
        return;
    }
    if (const std::optional<double> done = percentAfter(line, QStringLiteral("Repairing:"))) {
        m_repairing = true;
        tell(checking + (1 - checking) * *done);
    }
}

void Par2Progress::tell(double done) {
    if (m_told)
        m_told(std::clamp(done, 0.0, 1.0));
}
