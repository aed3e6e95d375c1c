// The floor a listing of a tree is measured against: one thread reads every
// folder with getdents64 and stats each entry with fstatat, and writes
// nothing but a count at the end. With --threads N, the parallel floor: N
// threads share a stack of open folders and read them in no order.

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

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

// Reads one folder: its files are counted, each subfolder opened is handed to
// `below`.
template <typename Below>
void readFolder(int folder, Counts& counts, Below below) {
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
                if (child >= 0) below(child);
            } else {
                ++counts.files;
                counts.bytes += st.st_size;
            }
        }
    }
}

void walk(int folder, Counts& counts) {
    readFolder(folder, counts, [&counts](int child) {
        walk(child, counts);
        close(child);
    });
}

// Threads take open folders from a shared stack until it is empty and no
// thread is reading one that could add more.
void walkInParallel(int root, int threads, Counts& total) {
    std::mutex mutex;
    std::condition_variable more;
    std::vector<int> stack{root};
    int busy = 0;
    std::vector<std::thread> pool;
    std::vector<Counts> counts(static_cast<size_t>(threads));
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            std::unique_lock<std::mutex> lock(mutex);
            for (;;) {
                more.wait(lock, [&] { return !stack.empty() || busy == 0; });
                if (stack.empty()) return;
                const int folder = stack.back();
                stack.pop_back();
                ++busy;
                lock.unlock();
                std::vector<int> found;
                readFolder(folder, counts[size_t(t)],
                           [&found](int child) { found.push_back(child); });
                if (folder != root) close(folder);
                lock.lock();
                --busy;
                stack.insert(stack.end(), found.begin(), found.end());
                more.notify_all();
            }
        });
    for (std::thread& t : pool) t.join();
    for (const Counts& c : counts) {
        total.files += c.files;
        total.folders += c.folders;
        total.bytes += c.bytes;
    }
}

}  // namespace

int main(int argc, char** argv) {
    int threads = 1;
    if (argc == 4 && std::strcmp(argv[1], "--threads") == 0) {
        threads = std::atoi(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc != 2 || threads < 1) {
        std::fprintf(stderr, "usage: tolan-bench-floor [--threads N] FOLDER\n");
        return 2;
    }
    const int root = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        std::fprintf(stderr, "tolan-bench-floor: %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    Counts counts;
    if (threads == 1)
        walk(root, counts);
    else
        walkInParallel(root, threads, counts);
    close(root);
    std::printf("%lld files in %lld folders, %lld bytes\n", counts.files, counts.folders + 1,
                counts.bytes);
    return 0;
}
