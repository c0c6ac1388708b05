#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>

// A D-Bus session of the test's own (dbus-daemon --session), so that no desktop sees what the
// program sends, for its lifetime.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus(); // every connection made goes first, then the daemon
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    // A connection of its own, by a name unique in the test.
    QDBusConnection connect(const QString &name);

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};
