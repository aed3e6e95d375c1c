#include "platform/dosfs/fault_seam.h"

#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace dosfs::faults {
namespace {

struct Rule {
    Op op;
    int err;
    QByteArray under;
    int skip;
};

struct Faults {
    std::set<QByteArray> denied;
    std::map<QByteArray, long long> room;
    std::vector<Rule> rules;
};

// Folders are read on worker threads too.
std::mutex& guard() {
    static std::mutex m;
    return m;
}

Faults& state() {
    static Faults f;
    return f;
}

}  // namespace

void denyFolder(const QByteArray& hostPath) {
    std::lock_guard<std::mutex> lock(guard());
    state().denied.insert(hostPath);
}
void fillDiskAfter(const QByteArray& hostFolder, long long bytes) {
    std::lock_guard<std::mutex> lock(guard());
    state().room[hostFolder] = bytes;
}
void failOperation(Op op, int err, const QByteArray& underHost, int skip) {
    std::lock_guard<std::mutex> lock(guard());
    state().rules.push_back({op, err, underHost, skip});
}

int injected(Op op, const QByteArray& hostPath) {
    std::lock_guard<std::mutex> lock(guard());
    Faults& f = state();
    if (f.rules.empty()) return 0;
    for (Rule& r : f.rules) {
        if (r.op != op || !hostPath.startsWith(r.under)) continue;
        if (r.skip > 0) {
            --r.skip;
            return 0;
        }
        return r.err;
    }
    return 0;
}

void clearAll() {
    std::lock_guard<std::mutex> lock(guard());
    state() = Faults{};
}

bool folderDenied(const QByteArray& hostPath) {
    std::lock_guard<std::mutex> lock(guard());
    const Faults& f = state();
    return !f.denied.empty() && f.denied.count(hostPath) != 0;
}

long long diskRoomIn(const QByteArray& hostFolder) {
    std::lock_guard<std::mutex> lock(guard());
    const Faults& f = state();
    if (f.room.empty()) return -1;
    const auto it = f.room.find(hostFolder);
    return it == f.room.end() ? -1 : it->second;
}

}  // namespace dosfs::faults
