#include "platform/dosfs/fault_seam.h"

#include <map>
#include <set>

namespace dosfs::faults {
namespace {

struct Faults {
    std::set<QByteArray> denied;
    std::map<QByteArray, long long> room;
};

Faults& state() {
    static Faults f;
    return f;
}

}  // namespace

void denyFolder(const QByteArray& hostPath) {
    state().denied.insert(hostPath);
}
void fillDiskAfter(const QByteArray& hostFolder, long long bytes) {
    state().room[hostFolder] = bytes;
}
void clearAll() {
    state() = Faults{};
}

bool folderDenied(const QByteArray& hostPath) {
    const Faults& f = state();
    return !f.denied.empty() && f.denied.count(hostPath) != 0;
}

long long diskRoomIn(const QByteArray& hostFolder) {
    const Faults& f = state();
    if (f.room.empty()) return -1;
    const auto it = f.room.find(hostFolder);
    return it == f.room.end() ? -1 : it->second;
}

}  // namespace dosfs::faults
