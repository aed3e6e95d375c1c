#pragma once
// The patterns tolan-list leaves out (--exclude, --exclude-from) and what it
// says of them on standard error after the scan.

#include "cli/options.h"
#include "engine/exclusions.h"

#include <QString>

#include <cstdio>

namespace cli {

// Reads every --exclude-from file and compiles the patterns into
// options.exclusions; false with a message naming the file or the pattern.
// A file is opened without waiting (a FIFO is refused, never read).
bool readExclusions(Options& options, QString& error);

// "left out: 3 files, 2 folders (.git/: 1, *.o: 3)": the patterns that left
// something out, in the order given. Nothing without patterns.
void reportLeftOut(FILE* to, const engine::Exclusions& exclusions,
                   const engine::LeftOutCounts& counts);

// The message for a folder to list that a pattern leaves out itself.
QString rootLeftOut(const engine::Exclusions& exclusions, int pattern, const QString& root);

}  // namespace cli
