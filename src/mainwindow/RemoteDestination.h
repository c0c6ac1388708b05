#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// Where File > Split To Remote... sends the queue: a folder on a remote of rclone's, and how.
struct RemoteDestination {
    QString remote; // "backup:", or one made on the fly: ":sftp,host=example.org:"
    QString folder; // on the remote; empty for its root
    bool makeFolder = false;
    bool resume = false; // takes up a split that was cut

    // "backup:sets/2024", as rclone takes it.
    QString text() const;
};

// Asks for it in a modal dialog that offers the remotes of the configuration (by name) and
// takes one typed in; nothing when the user cancels.
std::optional<RemoteDestination> askRemoteDestination(QWidget *parent, const QStringList &remotes);

// Replaces the dialog, so that tests can answer it; an empty handler restores the dialog.
// Returns the handler that was in place.
using RemoteDestinationHandler =
    std::function<std::optional<RemoteDestination>(const QStringList &remotes)>;
RemoteDestinationHandler setRemoteDestinationHandler(RemoteDestinationHandler handler);
