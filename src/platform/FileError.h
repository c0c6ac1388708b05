#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A file-system failure: the path it concerns and the system's reason. Raised where the
// platform reports it and carried unchanged up to the window that tells the user.
class FileError : public std::exception {
public:
    FileError(QString path, QString reason);

    // The failure the system reported for path (an errno value), in the system's own words.
    static FileError fromSystemError(QString path, int error);

    const QString &path() const noexcept { return m_path; }
    const QString &reason() const noexcept { return m_reason; }

    // "path: reason", UTF-8.
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_path;
    QString m_reason;
    QByteArray m_what;
};
