#include "Rclone.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace Rclone {

namespace {

using KeepGoing = RcloneProcess::KeepGoing;

Entry entryOf(const QJsonObject &object, const QString &hashType) {
    return {object.value(u"Name").toString(), qint64(object.value(u"Size").toDouble(-1)),
            object.value(u"IsDir").toBool(),
            object.value(u"Hashes").toObject().value(hashType).toString().toLower().toLatin1()};
}

// A file as the daemon names it: the folder it is in, and its name there.
QJsonObject fileIn(const RemotePath &file, const QString &fs, const QString &remote) {
    return {{fs, file.parent().text()}, {remote, file.fileName()}};
}

Pending<void> done(RcloneDaemon::Answer answer) {
    return [answer = std::move(answer)](const KeepGoing &keepGoing) { answer(keepGoing); };
}

} // namespace

bool isAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("rclone")).isEmpty();
}

Failure absent() {
    return Failure(Failure::Code::RcloneMissing);
}

Pending<QStringList> configuredRemotes() {
    const auto process =
        std::make_shared<RcloneProcess>(QStringList{QStringLiteral("listremotes")}, QString());
    return [process](const KeepGoing &keepGoing) {
        QStringList names;
        for (QString line : QString::fromUtf8(process->finish(keepGoing)).split(u'\n')) {
            line = line.trimmed();
            if (line.endsWith(u':'))
                names << line.chopped(1);
        }
        return names;
    };
}

Pending<Features> features(const RcloneDaemon &daemon, const RemotePath &remote) {
    const RcloneDaemon::Answer answer =
        daemon.ask(QStringLiteral("operations/fsinfo"), {{QStringLiteral("fs"), remote.text()}},
                   remote.text());
    return [answer](const KeepGoing &keepGoing) {
        const QJsonObject told = answer(keepGoing);
        const QJsonObject features = told.value(u"Features").toObject();
        Features found;
        found.caseInsensitive = features.value(u"CaseInsensitive").toBool();
        found.canMove = features.value(u"Move").toBool();
        found.bucketBased = features.value(u"BucketBased").toBool();
        for (const QJsonValue hash : told.value(u"Hashes").toArray())
            found.hashes << hash.toString();
        return found;
    };
}

Pending<std::optional<qint64>> freeBytes(const RcloneDaemon &daemon, const RemotePath &remote) {
    const RcloneDaemon::Answer answer = daemon.ask(
        QStringLiteral("operations/about"), {{QStringLiteral("fs"), remote.text()}}, remote.text());
    return [answer](const KeepGoing &keepGoing) -> std::optional<qint64> {
        QJsonObject told;
        try {
            told = answer(keepGoing);
        } catch (const Failure &failure) {
            // Many remotes have no quota to tell; a remote that cannot be reached is told by
            // the listing asked for beside.
            if (failure.kind() == Failure::Kind::Stopped)
                throw;
            return std::nullopt;
        }
        const QJsonValue free = told.value(u"free");
        if (!free.isDouble())
            return std::nullopt;
        return qint64(free.toDouble());
    };
}

Pending<QList<Entry>> list(const RcloneDaemon &daemon, const RemotePath &folder,
                           const QString &hashType) {
    QJsonObject options{{QStringLiteral("noModTime"), true}, {QStringLiteral("noMimeType"), true}};
    if (!hashType.isEmpty()) {
        options.insert(QStringLiteral("showHash"), true);
        options.insert(QStringLiteral("hashTypes"), QJsonArray{hashType});
    }
    const RcloneDaemon::Answer answer = daemon.ask(QStringLiteral("operations/list"),
                                                   {{QStringLiteral("fs"), folder.text()},
                                                    {QStringLiteral("remote"), QString()},
                                                    {QStringLiteral("opt"), options}},
                                                   folder.text());
    return [answer, hashType](const KeepGoing &keepGoing) {
        QList<Entry> entries;
        for (const QJsonValue entry : answer(keepGoing).value(u"list").toArray())
            entries << entryOf(entry.toObject(), hashType);
        return entries;
    };
}

Pending<QByteArray> contents(const RcloneDaemon &daemon, const RemotePath &file) {
    const std::shared_ptr<RcloneDownload> download = daemon.download(file.fileName(), file.text());
    return [download](const KeepGoing &keepGoing) {
        QByteArray bytes;
        char buffer[65536];
        while (const qint64 got = download->read(buffer, sizeof buffer, keepGoing))
            bytes.append(buffer, got);
        return bytes;
    };
}

Pending<void> makeFolder(const RcloneDaemon &daemon, const RemotePath &folder) {
    return done(
        daemon.ask(QStringLiteral("operations/mkdir"),
                   {{QStringLiteral("fs"), folder.text()}, {QStringLiteral("remote"), QString()}},
                   folder.text()));
}

Pending<void> remove(const RcloneDaemon &daemon, const RemotePath &file) {
    return done(daemon.ask(QStringLiteral("operations/deletefile"),
                           fileIn(file, QStringLiteral("fs"), QStringLiteral("remote")),
                           file.text()));
}

Pending<void> move(const RcloneDaemon &daemon, const RemotePath &from, const RemotePath &to,
                   Replacing replacing) {
    QJsonObject parameters = fileIn(from, QStringLiteral("srcFs"), QStringLiteral("srcRemote"));
    const QJsonObject target = fileIn(to, QStringLiteral("dstFs"), QStringLiteral("dstRemote"));
    for (auto value = target.begin(); value != target.end(); ++value)
        parameters.insert(value.key(), value.value());
    if (replacing == Replacing::Never)
        parameters.insert(QStringLiteral("_config"),
                          QJsonObject{{QStringLiteral("IgnoreExisting"), true}});
    return done(daemon.ask(QStringLiteral("operations/movefile"), parameters, to.text()));
}

std::unique_ptr<RcloneUpload> upload(const RcloneDaemon &daemon, const RemotePath &file,
                                     qint64 size, const RemotePath &concerning) {
    return std::make_unique<RcloneUpload>(daemon, file.parent().text(), file.fileName(), size,
                                          concerning.text());
}

} // namespace Rclone
