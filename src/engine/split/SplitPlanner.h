#pragma once

#include "split/SplitPlan.h"
#include "split/SplitRequest.h"

struct Work;

// Looks at everything a split would write before it writes anything, and refuses what would
// destroy or lose data: a source that cannot be read whole, a name that cannot travel to
// Windows, an output that is a queued source, a link or anything but a regular file, a name too
// long, two entries writing the same outputs, too little free space, a piece larger than the
// output file system holds, or another Tessary run writing the same outputs there. An earlier
// restore script or checksum list is replaced only where it is one that a split of the file
// writes; a file at the name of an output the split does not write is left alone. Throws a
// Failure of kind Refused whose parts are every refusal in queue order, the output folder's own
// last. Works as work says: through its file system, its long reads of what an earlier split
// left told to its progress, ended by a Failure of kind Stopped once its stop is asked for.
SplitPlan planSplit(const SplitRequest &request, const Work &work);
