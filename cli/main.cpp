// tolan-list: the listing engine without a window (see cli/run.h).

#include "cli/run.h"

int main(int argc, char** argv) {
    return cli::run(argc, argv, nullptr);
}
