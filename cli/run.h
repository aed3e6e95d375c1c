#pragma once
// tolan-list: the listing engine without a window, for scripts, scheduled
// jobs and benchmarks. Drawing (--format pdf, --graph) needs Qt Gui, whose
// libraries cost every run some seven megabytes to load, so tolan-list has
// none: a run that draws is handed whole to tolan-list-draw, the same
// program with the drawing linked in.

#include "cli/options.h"
#include "platform/dosfs/file_writer.h"
#include "platform/forms/list_box.h"
#include "platform/treemap/tree.h"

#include <QString>

namespace cli {

// What draws; each returns an error number of the file layer, 0 when done.
struct Drawing {
    // The lines on pages, headed by the folder and the time of its scan, as
    // a PDF into `out`, which the caller finishes.
    int (*pdf)(char* program, const forms::ListBox& lines, const QString& root, qint64 time,
               dosfs::FileWriter& out);
    // The occupancy graph into options.graph.
    int (*graph)(char* program, const treemap::Tree& tree, const Options& options);
};

// The whole run of the command line; its exit status. Without `drawing`, a
// run that draws is handed to tolan-list-draw.
int run(int argc, char** argv, const Drawing* drawing);

}  // namespace cli
