#pragma once

#include "FileFacts.h"
#include "SplitRefusal.h"
#include "SplitRequest.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

class OutputFolder;

// Whether the split may write a file at a name in the output folder: what stands there must be
// missing, or a regular file of its own that this process may write and that is no queued
// source under any of its names.
class OutputChecker {
public:
    OutputChecker(const OutputFolder &folder, const QList<QueuedFile> &queue);

    // Registers the identity of a queued source that could be opened.
    void addSource(const QString &path, const FileIdentity &identity);

    // Nothing when name may be written. Adds the space that writing it frees to replacedBytes.
    // Throws FileError when what is there cannot be examined.
    std::optional<OutputProblem> problemAt(const QByteArray &name, qint64 &replacedBytes) const;

private:
    const OutputFolder &m_folder;
    QHash<QString, QString> m_sourceByPath; // clean path -> source path as queued
    QHash<FileIdentity, QString> m_sourceByIdentity;
};
