#include "platform/dosfs/fault_seam.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace dosfs::faults {
namespace {

struct Rule {
    Op op;
    int err;
    QByteArray under;
    int skip;
    int calls = 0;
};

struct Faults {
    std::set<QByteArray> denied;
    std::map<QByteArray, long long> room;
    std::vector<Rule> rules;
    std::vector<std::pair<QByteArray, int>> delays;
    std::vector<QByteArray> away;
    std::vector<std::pair<QByteArray, double>> shares;
    std::vector<std::pair<Op, QByteArray>> hangs;
    std::set<QByteArray> endReader;
};

// Wakes the calls that hang when the faults are cleared.
std::condition_variable& released() {
    static std::condition_variable cv;
    return cv;
}
long long generation = 0;  // counts clearAll() calls; under guard()

// Folders are read on worker threads too.
std::mutex& guard() {
    static std::mutex m;
    return m;
}

Faults& state() {
    static Faults f;
    return f;
}

// Whether anything is set at all: the file layer asks on every stat, and
// outside tests the answer is always no.
std::atomic<bool> anySet{false};

}  // namespace

void denyFolder(const QByteArray& hostPath) {
    std::lock_guard<std::mutex> lock(guard());
    state().denied.insert(hostPath);
    anySet = true;
}
void fillDiskAfter(const QByteArray& hostFolder, long long bytes) {
    std::lock_guard<std::mutex> lock(guard());
    state().room[hostFolder] = bytes;
    anySet = true;
}
void failOperation(Op op, int err, const QByteArray& underHost, int skip) {
    std::lock_guard<std::mutex> lock(guard());
    state().rules.push_back({op, err, underHost, skip});
    anySet = true;
}

int calls(Op op, const QByteArray& underHost) {
    std::lock_guard<std::mutex> lock(guard());
    int n = 0;
    for (const Rule& r : state().rules)
        if (r.op == op && r.under == underHost) n += r.calls;
    return n;
}

int injected(Op op, const QByteArray& hostPath) {
    if (!anySet) return 0;
    std::unique_lock<std::mutex> lock(guard());
    Faults& f = state();
    for (const auto& [hungOp, under] : f.hangs) {
        if (hungOp != op || !hostPath.startsWith(under)) continue;
        const long long now = generation;
        released().wait(lock, [now] { return generation != now; });
        return 0;
    }
    if (op == Op::ReadFolder && f.endReader.count(hostPath)) ::kill(::getpid(), SIGKILL);
    if (f.rules.empty()) return 0;
    for (Rule& r : f.rules) {
        if (r.op != op || !hostPath.startsWith(r.under)) continue;
        ++r.calls;
        if (r.skip > 0) {
            --r.skip;
            return 0;
        }
        return r.err;
    }
    return 0;
}

bool fails(Op op, const QByteArray& hostPath) {
    const int fault = injected(op, hostPath);
    if (fault) errno = fault;
    return fault != 0;
}

void endReaderOf(const QByteArray& hostPath) {
    std::lock_guard<std::mutex> lock(guard());
    state().endReader.insert(hostPath);
    anySet = true;
}

void hangOperation(Op op, const QByteArray& underHost) {
    std::lock_guard<std::mutex> lock(guard());
    state().hangs.emplace_back(op, underHost);
    anySet = true;
}

void delayFolderReads(const QByteArray& underHost, int milliseconds) {
    std::lock_guard<std::mutex> lock(guard());
    state().delays.emplace_back(underHost, milliseconds);
    anySet = true;
}

int folderReadDelay(const QByteArray& hostPath) {
    if (!anySet) return 0;
    std::lock_guard<std::mutex> lock(guard());
    for (const auto& [under, ms] : state().delays)
        if (hostPath.startsWith(under)) return ms;
    return 0;
}

void measureFolderReads(const QByteArray& underHost, double share) {
    std::lock_guard<std::mutex> lock(guard());
    state().shares.emplace_back(underHost, share);
    anySet = true;
}

double measuredWaitShare(const QByteArray& hostPath) {
    if (!anySet) return -1;
    std::lock_guard<std::mutex> lock(guard());
    for (const auto& [under, share] : state().shares)
        if (hostPath.startsWith(under)) return share;
    return -1;
}

void countAsAway(const QByteArray& underHost) {
    std::lock_guard<std::mutex> lock(guard());
    state().away.push_back(underHost);
    anySet = true;
}

namespace {
// Whether a place counted as away is at or above hostPath (or, `below`, at
// or under it).
bool awayRule(const QByteArray& hostPath, bool below) {
    if (!anySet) return false;
    std::lock_guard<std::mutex> lock(guard());
    for (const QByteArray& under : state().away)
        if (below ? under.startsWith(hostPath) : hostPath.startsWith(under)) return true;
    return false;
}
}  // namespace

bool countsAsAway(const QByteArray& hostPath) {
    return awayRule(hostPath, false);
}

bool awayBelow(const QByteArray& hostFolder) {
    return awayRule(hostFolder, true);
}

void clearAll() {
    std::lock_guard<std::mutex> lock(guard());
    state() = Faults{};
    anySet = false;
    ++generation;
    released().notify_all();
}

bool folderDenied(const QByteArray& hostPath) {
    if (!anySet) return false;
    std::lock_guard<std::mutex> lock(guard());
    const Faults& f = state();
    return !f.denied.empty() && f.denied.count(hostPath) != 0;
}

long long diskRoomIn(const QByteArray& hostFolder) {
    if (!anySet) return -1;
    std::lock_guard<std::mutex> lock(guard());
    const Faults& f = state();
    if (f.room.empty()) return -1;
    const auto it = f.room.find(hostFolder);
    return it == f.room.end() ? -1 : it->second;
}

}  // namespace dosfs::faults
