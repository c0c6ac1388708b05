#pragma once

#include "RcloneDaemon.h"
#include "RemotePath.h"

#include <QHash>
#include <QString>

#include <functional>

// How rclone's chunker backend reads a folder of pieces: with chunks named as Tessary names its
// pieces (name_format = *.#, numbered from 1), no metadata and no hash of its own, it takes a
// file's pieces there for the file itself, whole.
namespace ChunkerView {

// The chunker's options as a configuration gives them.
QString options();

// The size of each file the chunker shows in folder, by name, asked at once and told when
// waited for; none where it could not be asked. Waiting throws only Stopped, once keepGoing
// says no.
std::function<QHash<QString, qint64>(const std::function<bool()> &keepGoing)>
sizes(const RcloneDaemon &daemon, const RemotePath &folder);

} // namespace ChunkerView
