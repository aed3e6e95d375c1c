#pragma once
// tolan-list --find: the files of snapshots whose names match a pattern,
// written as text lines or JSON lines.

#include "cli/options.h"

namespace cli {

// The search run whole; the exit status (0 a file was found, 1 none was,
// 2 trouble).
int runFind(const Options& options);

}  // namespace cli
