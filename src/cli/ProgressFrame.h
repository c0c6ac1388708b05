#pragma once

#include "words/ProgressText.h"

#include <QString>

// One frame of a run's progress on a terminal, "[#####-----] report.doc (2 of 5): 1.2 GB of
// 4.0 GB, about 1 min left", fitted to a terminal columns wide short of its last column (where
// many terminals wrap at once, so that the next frame would start a line lower). Where it is too
// narrow, the name is shortened in the middle, then the bar; then the time left, the file's
// place, the file's size and the bar go, in that order.
QString progressFrame(int permille, const ProgressText::Parts &parts, int columns);
