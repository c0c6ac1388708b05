#pragma once

#include <QDBusConnection>
#include <QVariantMap>

// The progress of a long run on the program's entry in the desktop's launcher, where the
// desktop reads it (KDE Plasma, Dash to Dock and others): the com.canonical.Unity.LauncherEntry
// signal on the session bus. Where no one listens, or there is no bus, nothing happens.
class LauncherProgress {
public:
    explicit LauncherProgress(QDBusConnection bus = QDBusConnection::sessionBus());
    ~LauncherProgress(); // the entry shows no progress any more
    LauncherProgress(const LauncherProgress &) = delete;
    LauncherProgress &operator=(const LauncherProgress &) = delete;

    // fraction from 0 to 1.
    void show(double fraction);

private:
    void send(const QVariantMap &properties);

    QDBusConnection m_bus;
    int m_shownPercent = -1; // -1 while none is shown
};
