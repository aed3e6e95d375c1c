#include "platform/readers/read_clock.h"

#include <algorithm>
#include <charconv>

#include <fcntl.h>
#include <unistd.h>

namespace readers {
namespace {

double secondsOf(const timeval& t) {
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// Nanoseconds this thread has waited, runnable, for a processor (behind
// other threads, or while its group's processor quota ran out), from the
// kernel's scheduler statistics; 0 where the kernel keeps none.
long long waitedForProcessor() {
    struct Stats {
        int fd = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
        ~Stats() {
            if (fd >= 0) ::close(fd);
        }
    };
    thread_local Stats stats;
    if (stats.fd < 0) return 0;
    char text[96];
    const ssize_t n = ::pread(stats.fd, text, sizeof text, 0);
    if (n <= 0) return 0;
    // "<time on a processor> <time waiting for one> <turns>"
    const char* end = text + n;
    const char* space = std::find(static_cast<const char*>(text), end, ' ');
    long long waited = 0;
    if (space == end || std::from_chars(space + 1, end, waited).ec != std::errc()) return 0;
    return waited;
}

}  // namespace

ReadClock::ReadClock() : start_(std::chrono::steady_clock::now()), waited_(waitedForProcessor()) {
    getrusage(RUSAGE_THREAD, &usage_);
}

void ReadClock::stop(double& spent, double& blocked) const {
    rusage now{};
    getrusage(RUSAGE_THREAD, &now);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    spent = std::max(0.0, wall - double(waitedForProcessor() - waited_) / 1e9);
    const double cpu = secondsOf(now.ru_utime) - secondsOf(usage_.ru_utime) +
                       secondsOf(now.ru_stime) - secondsOf(usage_.ru_stime);
    blocked = now.ru_nvcsw > usage_.ru_nvcsw ? std::max(0.0, spent - cpu) : 0.0;
}

}  // namespace readers
