#pragma once

#include "Failure.h"
#include "FileFacts.h"
#include "FileSystem.h"
#include "split/SplitRequest.h"

#include <QList>

#include <functional>
#include <optional>

// A queued file whose source could be opened.
struct QueuedSource {
    qsizetype index = 0; // in the queue
    FileFacts facts;
    qsizetype repeats = -1; // the index of the same file queued before, or -1
};

// Hears a refusal of the queued file at index (in the queue).
using QueueRefusal = std::function<void(qsizetype index, Failure refusal)>;

// The queued files that can be split wherever the pieces go, in queue order: each opened and
// found regular, with a name that a restore script and Windows can hold and that no other file
// queued before it shares (as Windows compares names). The rest are refused. Each is opened
// through files.
QList<QueuedSource> queuedSources(const QList<QueuedFile> &queue, const FileSystem &files,
                                  const QueueRefusal &refuse);

// Bytes in each piece of source but the last, as request asks for them; nothing where it is
// refused.
std::optional<qint64> pieceLengthOf(const SplitRequest &request, const QueuedSource &source,
                                    const QueueRefusal &refuse);
