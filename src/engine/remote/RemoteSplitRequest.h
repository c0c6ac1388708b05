#pragma once

#include "split/SplitRequest.h"

// A split whose pieces go to a remote of rclone's: its output folder is the remote's path as
// rclone takes it ("backup:sets", SplitRequest::outputFolder).
struct RemoteSplitRequest {
    SplitRequest split;
    bool makeFolder = false; // a folder that is not there is made, rather than refused
    // Takes up a split that was cut: pieces that stand there already are kept where they hold
    // the bytes this split sends, and only the rest are sent.
    bool resume = false;
};
