#include "FileError.h"

#include <QDir>

#include <utility>

FileError::FileError(QString path, QString reason)
    : m_path(std::move(path))
    , m_reason(std::move(reason))
    , m_what((QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + m_reason).toUtf8()) {}

FileError FileError::fromSystemError(QString path, int error) {
    return FileError(std::move(path), qt_error_string(error));
}
