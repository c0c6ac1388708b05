#include "remote/ChunkerView.h"

#include "Failure.h"
#include "Rclone.h"

namespace ChunkerView {

QString options() {
    return QStringLiteral("name_format = *.#, meta_format = none, hash_type = none");
}

std::function<QHash<QString, qint64>(const std::function<bool()> &keepGoing)>
sizes(const RcloneDaemon &daemon, const RemotePath &folder) {
    // An on-the-fly chunker over the folder, its path quoted as rclone quotes option values.
    QString quoted = folder.text();
    quoted.replace(u'\'', QStringLiteral("''"));
    const std::optional<RemotePath> chunker = RemotePath::parse(
        QStringLiteral(":chunker,remote='%1',name_format='*.#',meta_format=none,hash_type=none:")
            .arg(quoted));
    Rclone::Pending<QList<Rclone::Entry>> entries;
    try {
        if (chunker)
            entries = Rclone::list(daemon, *chunker);
    } catch (const Failure &) { // rclone cannot be started: nothing to tell
    }
    return [entries](const std::function<bool()> &keepGoing) {
        QHash<QString, qint64> sizes;
        if (!entries)
            return sizes;
        try {
            for (const Rclone::Entry &entry : entries(keepGoing)) {
                if (!entry.isFolder)
                    sizes.insert(entry.name, entry.size);
            }
        } catch (const Failure &failure) {
            if (failure.kind() == Failure::Kind::Stopped)
                throw;
            sizes.clear(); // an rclone without the chunker: nothing to tell
        }
        return sizes;
    };
}

} // namespace ChunkerView
