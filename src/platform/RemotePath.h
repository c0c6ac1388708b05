#pragma once

#include <QString>

#include <optional>

// A place on a remote of rclone's, written as rclone reads it: "REMOTE:path" for a remote of
// the user's configuration ("REMOTE,option=value:path" with options of its own), or
// ":BACKEND,option=value:path" for one made on the fly. As rclone does, a path whose first
// colon comes after a slash is a local one: "./a:b" is the file a:b here.
class RemotePath {
public:
    // Nothing where text is a local path.
    static std::optional<RemotePath> parse(const QString &text);

    // The remote with its colon, as given: "backup:" or ":sftp,host=example.org:".
    const QString &remote() const noexcept { return m_remote; }
    // The name of a remote of the configuration, "backup"; empty for one made on the fly.
    QString configuredName() const;
    // The path on the remote, without a slash at its end; empty for the remote's root.
    const QString &path() const noexcept { return m_path; }
    // The whole, as rclone takes it: "backup:sets/2024".
    QString text() const { return m_remote + m_path; }
    // Its last part: the name of a file or folder in its parent; empty at the root.
    QString fileName() const;
    // The folder it stands in.
    RemotePath parent() const;
    // The file or folder name in it.
    RemotePath child(const QString &name) const;

    bool operator==(const RemotePath &) const = default;

private:
    RemotePath(QString remote, QString path);

    QString m_remote;
    QString m_path;
};
