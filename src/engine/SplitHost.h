#pragma once

#include "WaitWindowHost.h"

#include <QString>

// What a split run needs from the window that starts it: the queue, the output folder,
// the wait window and the closing message. Queries are asked in run order, the output
// folder once per file.
class SplitHost {
public:
    virtual ~SplitHost() = default;

    virtual qint64 queuedFileCount() = 0;
    virtual QString queuedFilePath(qint64 index) = 0; // full path, native separators
    virtual QString queuedFileName(qint64 index) = 0; // bare name
    virtual QString outputFolder() = 0;               // native separators

    virtual WaitWindowHost &waitWindow() = 0;
    virtual void showClosingMessage(const QString &text) = 0;
};
