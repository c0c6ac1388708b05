#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QDBusPendingCallWatcher;

// Tells the user of something that ended while they were elsewhere, as desktop programs do:
// a notification through the freedesktop notification service (org.freedesktop.Notifications on
// the session bus, which Plasma, GNOME, Cinnamon and others show), with an Open Folder action.
// Nothing blocks on the service: where none runs, or there is no bus, nothing happens.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    using FolderOpener = std::function<void(const QString &folder)>;

    // open is what Open Folder does: by default, the folder in the desktop's file manager.
    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                             FolderOpener open = openInFileManager, QObject *parent = nullptr);

    // folder empty: no Open Folder action.
    void notify(const QString &summary, const QString &body, const QString &folder);

    static void openInFileManager(const QString &folder);

private:
    void sent(QDBusPendingCallWatcher *call, const QString &folder);
    Q_SLOT void actionInvoked(uint id, const QString &action);
    Q_SLOT void closed(uint id, uint reason);

    QDBusConnection m_bus;
    FolderOpener m_open;
    QHash<uint, QString> m_folders; // of the notifications shown, by the service's id
};
