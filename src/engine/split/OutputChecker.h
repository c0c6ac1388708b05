#pragma once

#include "FileFacts.h"
#include "split/OutputProblem.h"
#include "split/SplitRequest.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <optional>

class OutputFolder;

// Whether the split may write a file at a name in the output folder: what stands there must be
// missing, or a regular file of its own that this process may write and that is no queued
// source under any of its names. Names are compared as Windows compares them, without case,
// even where the output folder's file system tells case apart: the pieces are made to be
// carried there.
class OutputChecker {
public:
    OutputChecker(const OutputFolder &folder, const QList<QueuedFile> &queue);

    // Registers the identity of a queued source that could be opened.
    void addSource(const QString &path, const FileIdentity &identity);

    // What writing over the files that are there already frees.
    struct Replaced {
        qint64 bytes = 0;
        qint64 files = 0;
    };

    // Nothing when name may be written; then adds what writing it frees to replaced. Throws
    // Failure when what is there cannot be examined.
    std::optional<OutputProblem> problemAt(const QByteArray &name, Replaced &replaced) const;

private:
    const OutputFolder &m_folder;
    QHash<QString, QString> m_queuedHere; // queued sources in the output folder, by folded name
    QHash<FileIdentity, QString> m_sourceByIdentity;
};
