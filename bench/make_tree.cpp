// Builds the synthetic tree the benchmarks scan: FILES files in FOLDERS
// folders at most six levels deep, ASCII and Japanese names, sparse files of
// varied sizes. The same arguments always give the same tree.

#include "bench/xorshift.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kFolderStems[] = {"src",    "docs",         "資料", "写真",
                                    "backup", "プロジェクト", "data", "会議"};
const char* const kFileStems[] = {"file_", "データ_", "報告書", "IMG_", "notes-", "ﾃｽﾄ", "log."};
const char* const kExtensions[] = {".txt", ".csv", ".doc", ".JPG", ".xls", ".zip", ""};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_tree ROOT FILES FOLDERS\n");
        return 2;
    }
    const std::string root = argv[1];
    const long files = std::atol(argv[2]);
    const long folders = std::atol(argv[3]);
    if (mkdir(root.c_str(), 0755) != 0) {
        std::perror(root.c_str());
        return 1;
    }
    struct Folder {
        std::string path;
        int depth;
    };
    std::vector<Folder> all{{root, 0}};
    for (long i = 0; i < folders; ++i) {
        const Folder* parent;
        do parent = &all[bench::next() % all.size()];
        while (parent->depth >= 6);
        const std::string path =
            parent->path + "/" + kFolderStems[bench::next() % 8] + std::to_string(i);
        if (mkdir(path.c_str(), 0755) != 0) {
            std::perror(path.c_str());
            return 1;
        }
        all.push_back({path, parent->depth + 1});
    }
    for (long i = 0; i < files; ++i) {
        const Folder& f = all[bench::next() % all.size()];
        const std::string path = f.path + "/" + kFileStems[bench::next() % 7] + std::to_string(i) +
                                 kExtensions[bench::next() % 7];
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            std::perror(path.c_str());
            return 1;
        }
        // Mostly small files, some large ones; sparse, so the tree costs no disk.
        const unsigned long long r = bench::next();
        const off_t size = (r % 10 == 0) ? static_cast<off_t>(r % 5'000'000'000ULL)
                                         : static_cast<off_t>(r % 200'000);
        if (ftruncate(fd, size) != 0) std::perror(path.c_str());
        close(fd);
    }
    return 0;
}
