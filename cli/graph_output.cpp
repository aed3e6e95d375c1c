#include "cli/graph_output.h"

#include "cli/offscreen_gui.h"
#include "cli/options.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_writer.h"
#include "platform/qt/treemap_paint.h"

namespace cli {

int writeGraph(char* program, const treemap::Tree& tree, const Options& options) {
    const auto gui = offscreenGui(program);  // fonts need one
    const int w = options.graphWidth, h = options.graphHeight;
    const auto tiles = qtbind::graphTiles(tree, 0, w, h);
    const bool svg = options.graph.toLower().endsWith(".svg");
    const QByteArray bytes =
        svg ? qtbind::graphSvg(tree, tiles, w, h, qtbind::GraphColours::ByKind)
            : qtbind::graphPng(tree, tiles, w, h, qtbind::GraphColours::ByKind);
    if (bytes.isEmpty()) return dosfs::kDiskFull;
    dosfs::FileWriter out;
    if (const int error = out.open(options.graph)) return error;
    out.write(bytes);
    return out.finish();
}

}  // namespace cli
