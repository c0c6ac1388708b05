#pragma once

#include "Failure.h"

#include <QString>

#include <vector>

// Tells the user that the split was not started, why (each refusal's path and reason), and that
// nothing was written. Lists at most shownAtMost refusals (all when negative) and counts the
// rest.
QString refusalMessage(const std::vector<Failure> &refusals, qsizetype shownAtMost = -1);
