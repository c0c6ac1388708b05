#include "DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QUrl>
#include <QVariantMap>

#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kOpenFolder = QStringLiteral("open-folder");
// The action a click on the notification itself gives, where the service offers one.
const QString kDefault = QStringLiteral("default");

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, FolderOpener open, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_open(std::move(open)) {
    if (!m_bus.isConnected())
        return;
    m_bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                  SLOT(closed(uint, uint)));
}

void DesktopNotifier::notify(const QString &summary, const QString &body, const QString &folder) {
    if (!m_bus.isConnected())
        return;
    QStringList actions;
    if (!folder.isEmpty())
        actions << kDefault << tr("Open Folder") << kOpenFolder << tr("Open Folder");
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    // Services may read the body as markup: a name with "<" in it stays as it is.
    call << QStringLiteral("Tessary") << uint(0) << QStringLiteral("tessary") << summary
         << body.toHtmlEscaped() << actions
         << QVariantMap{{QStringLiteral("desktop-entry"), QStringLiteral("org.tessary.Tessary")}}
         << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, folder](QDBusPendingCallWatcher *finished) { sent(finished, folder); });
}

void DesktopNotifier::openInFileManager(const QString &folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void DesktopNotifier::sent(QDBusPendingCallWatcher *call, const QString &folder) {
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (!reply.isError() && !folder.isEmpty())
        m_folders.insert(reply.value(), folder);
}

void DesktopNotifier::actionInvoked(uint id, const QString &action) {
    const auto shown = m_folders.constFind(id);
    if (shown != m_folders.cend() && (action == kOpenFolder || action == kDefault))
        m_open(*shown);
}

void DesktopNotifier::closed(uint id, uint /*reason*/) {
    m_folders.remove(id);
}
