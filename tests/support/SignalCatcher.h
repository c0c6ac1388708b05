#pragma once

#include <QDBusMessage>
#include <QObject>

#include <functional>
#include <utility>

// Receives D-Bus signals for a test, which the bus delivers only to a slot of a QObject.
class SignalCatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalCatcher(std::function<void(const QDBusMessage &)> onSignal)
        : m_onSignal(std::move(onSignal)) {}

public Q_SLOTS:
    void catchSignal(const QDBusMessage &message) { m_onSignal(message); }

private:
    std::function<void(const QDBusMessage &)> m_onSignal;
};
