#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A file-system failure during a split: the path it concerns and the system's reason.
// Raised by the file channels and carried unchanged up to the window that tells the user.
class FileError : public std::exception {
public:
    FileError(QString path, QString reason);

    const QString &path() const noexcept { return m_path; }
    const QString &reason() const noexcept { return m_reason; }

    // "path: reason", UTF-8.
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_path;
    QString m_reason;
    QByteArray m_what;
};
