#pragma once

#include "Failure.h"

#include <QString>

// What rclone's reason means, by the words its backends use for it: a remote that is not
// configured, credentials refused, a quota exceeded, a connection lost, a path not found (also
// where notFound says so), or any other failure; the reason itself goes with it, for concerning.
Failure rcloneFailure(const QString &reason, bool notFound, const QString &concerning);

// rclone's reason, from what it wrote on stderr: its last error, without the time, the count
// of attempts and the name of the command.
QString rcloneReasonIn(const QString &errors);
