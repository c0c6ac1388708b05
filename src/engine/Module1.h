#pragma once

#include "SplitState.h"

// Program-wide values; they live from start to end of the program.
namespace Module1 {
extern SplitState splitState;
}
