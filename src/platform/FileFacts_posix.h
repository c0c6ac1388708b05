#pragma once

#include "FileFacts.h"

#include <sys/stat.h>

// The facts of a stat() result.
FileFacts factsOf(const struct stat &status);
