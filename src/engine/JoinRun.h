#pragma once

#include "FileError.h"
#include "RangeCopier.h"

#include <QString>

#include <chrono>

class JoinHost;

// A join the user stopped by answering No: nothing was written.
class JoinDeclined : public FileError {
public:
    using FileError::FileError;
};

struct JoinOptions {
    // The host is asked to repaint the wait window once per this much work.
    std::chrono::milliseconds repaintInterval{100};
    CopyMethod copyMethod = CopyMethod::Kernel;
};

// Rebuilds a split file from its restore script, or from its first piece where the script is
// missing. Checks everything before it writes: every piece is there and is a regular file, the
// pieces have the lengths a split gives them (else the user is asked whether to go on), the
// file to make is none of the pieces, and the user agrees to replace it where it exists. The
// joined file is written beside it under a name of its own, flushed to disk and then renamed
// over it, so that a failure never leaves a half-written file or destroys the one it replaces.
class JoinRun {
public:
    explicit JoinRun(JoinHost &host, JoinOptions options = {});

    // Throws JoinDeclined when the user answers No, FileError when the join is refused or
    // fails; either way nothing is left behind.
    void join(const QString &path);

private:
    JoinHost &m_host;
    const JoinOptions m_options;
};
