#pragma once

#include "FileFacts.h"
#include "FileHandle.h"

#include <QByteArray>
#include <QString>

#include <functional>

class OutputFolder;

// A file opened for reading its bytes. Only a regular file opens: a folder, a FIFO or a device
// is refused, so none ever turns into pieces and none blocks the program.
class SourceFile {
public:
    // Throws Failure when the file cannot be opened for reading or is not a regular file.
    explicit SourceFile(QString path, const FileSystem &files = FileSystem::system());
    // The file at name in folder, itself: a symbolic link there is refused, not followed.
    SourceFile(const OutputFolder &folder, const QByteArray &name);

    const QString &path() const noexcept { return m_path; }
    int fd() const noexcept { return m_handle.fd(); }
    const FileHandle &handle() const noexcept { return m_handle; }
    const FileSystem &files() const noexcept { return m_handle.files(); }
    // As the file was when it was opened.
    const FileFacts &facts() const noexcept { return m_facts; }
    // As it is now; throws Failure.
    FileFacts currentFacts() const;

    // Reads up to size bytes at offset; returns how many, 0 only at the end. Safe from several
    // threads at once. Throws Failure on a read failure.
    qint64 readAt(char *buffer, qint64 size, qint64 offset) const;
    // Reads size bytes at offset, fewer only where the file ends; returns how many.
    qint64 readFully(char *buffer, qint64 size, qint64 offset) const;
    // Reads the whole file, which must hold no more than atMost bytes, in bounded chunks, telling
    // onRead how many bytes each gave; a false from onRead ends it with a Failure of kind
    // Stopped. Throws Failure.
    QByteArray readAll(qint64 atMost, const std::function<bool(qint64 bytes)> &onRead = {}) const;

private:
    void takeFacts();

    QString m_path;
    FileHandle m_handle;
    FileFacts m_facts;
};
