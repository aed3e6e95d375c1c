// The floor a listing of a tree is measured against: one thread reads every
// folder with getdents64 and stats each entry with fstatat, and writes
// nothing but a count at the end.

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct Counts {
    long long files = 0;
    long long folders = 0;
    long long bytes = 0;
};

struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

void walk(int folder, Counts& counts) {
    alignas(8) char buffer[32768];
    for (;;) {
        const long got = syscall(SYS_getdents64, folder, buffer, sizeof buffer);
        if (got <= 0) break;
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const LinuxDirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            struct stat st {};
            if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            if (S_ISDIR(st.st_mode)) {
                ++counts.folders;
                const int child = openat(folder, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (child >= 0) {
                    walk(child, counts);
                    close(child);
                }
            } else {
                ++counts.files;
                counts.bytes += st.st_size;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolan-bench-floor FOLDER\n");
        return 2;
    }
    const int root = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        std::fprintf(stderr, "tolan-bench-floor: %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    Counts counts;
    walk(root, counts);
    close(root);
    std::printf("%lld files in %lld folders, %lld bytes\n", counts.files, counts.folders + 1,
                counts.bytes);
    return 0;
}
