// tolan-list-draw: tolan-list with the drawing of PDFs and graphs linked in,
// which tolan-list hands the runs that draw to.

#include "cli/drawing.h"
#include "cli/graph_output.h"
#include "cli/run.h"

int main(int argc, char** argv) {
    static const cli::Drawing drawing{cli::writeListingPdf, cli::writeGraph};
    return cli::run(argc, argv, &drawing);
}
