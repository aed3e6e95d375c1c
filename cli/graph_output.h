#pragma once
// tolan-list --graph: the occupancy graph of a scan written as SVG or PNG.

#include "platform/treemap/tree.h"

#include <QString>

namespace cli {

struct Options;

// Draws `tree` into options.graph (by its suffix) at the size asked for;
// returns an error number of the file layer, 0 when written.
int writeGraph(char* program, const treemap::Tree& tree, const Options& options);

}  // namespace cli
