#include "MountWatcher.h"

#include "FileHandle.h"

#include <QSocketNotifier>

#include <fcntl.h>

struct MountWatcher::Source {
    FileHandle mountTable;
    std::unique_ptr<QSocketNotifier> notifier;
};

MountWatcher::MountWatcher(QObject *parent)
    : QObject(parent)
    , m_source(std::make_unique<Source>()) {
    m_source->mountTable = FileHandle(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC),
                                      QStringLiteral("/proc/self/mountinfo"));
    if (m_source->mountTable.fd() < 0)
        return; // without /proc the lists are read once, at start
    m_source->notifier =
        std::make_unique<QSocketNotifier>(m_source->mountTable.fd(), QSocketNotifier::Exception);
    connect(m_source->notifier.get(), &QSocketNotifier::activated, this,
            &MountWatcher::mountsChanged);
}

MountWatcher::~MountWatcher() = default;
