#include "LauncherProgress.h"

#include <QDBusMessage>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The launcher entry is the desktop file's, by its id.
const QString kApplication = QStringLiteral("application://org.tessary.Tessary.desktop");

} // namespace

LauncherProgress::LauncherProgress(QDBusConnection bus)
    : m_bus(std::move(bus)) {}

LauncherProgress::~LauncherProgress() {
    if (m_shownPercent >= 0)
        send({{QStringLiteral("progress-visible"), false}});
}

void LauncherProgress::show(double fraction) {
    // A signal per percent is as smooth as a launcher draws.
    const int percent = int(std::lround(std::clamp(fraction, 0.0, 1.0) * 100));
    if (percent == m_shownPercent)
        return;
    m_shownPercent = percent;
    send({{QStringLiteral("progress"), percent / 100.0},
          {QStringLiteral("progress-visible"), true}});
}

void LauncherProgress::send(const QVariantMap &properties) {
    if (!m_bus.isConnected())
        return;
    QDBusMessage update = QDBusMessage::createSignal(
        QStringLiteral("/org/tessary/Tessary"), QStringLiteral("com.canonical.Unity.LauncherEntry"),
        QStringLiteral("Update"));
    update << kApplication << properties;
    m_bus.send(update);
}
