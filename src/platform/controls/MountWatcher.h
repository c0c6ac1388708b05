#pragma once

#include <QObject>

#include <memory>

// Says when a volume is mounted or unmounted, as the system reports it: the mount table
// (/proc/self/mountinfo) signals a change as an exceptional condition on the open file, so
// nothing is read or polled until it does.
class MountWatcher : public QObject {
    Q_OBJECT
public:
    explicit MountWatcher(QObject *parent = nullptr);
    ~MountWatcher() override;

Q_SIGNALS:
    void mountsChanged();

private:
    struct Source;
    std::unique_ptr<Source> m_source;
};
