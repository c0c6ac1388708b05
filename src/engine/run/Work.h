#pragma once

#include "FileSystem.h"
#include "run/Questions.h"
#include "run/RunProgress.h"

// What long work is given by whoever runs it: where to tell how far it is, the stop to look at
// between bounded chunks, where to ask its questions, and the file system to work through.
struct Work {
    ProgressSink &progress;
    const StopRequest &stop;
    Questions &questions;
    const FileSystem &files = FileSystem::system();

    bool keepGoing() const { return !stop.requested(); }
};
