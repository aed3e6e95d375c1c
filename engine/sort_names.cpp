// Folder and file names in listing order (see dosfs/name_order.h), each
// name's key made once.

#include "engine/module1.h"
#include "platform/dosfs/name_order.h"

#include <algorithm>
#include <numeric>

namespace engine {
namespace {

template <typename T, typename Name>
void sortByName(std::vector<T>& table, Name name) {
    std::vector<QString> keys;
    keys.reserve(table.size());
    for (const T& entry : table) keys.push_back(dosfs::nameKey(name(entry)));
    std::vector<size_t> order(table.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return dosfs::nameBefore(keys[a], name(table[a]), keys[b], name(table[b]));
    });
    std::vector<T> sorted;
    sorted.reserve(table.size());
    for (size_t i : order) sorted.push_back(std::move(table[i]));
    table = std::move(sorted);
}

}  // namespace

void Module1::SortNames(std::vector<dosfs::DirEntry>& table) {
    sortByName(table, [](const dosfs::DirEntry& e) -> const QString& { return e.name; });
}

std::vector<FolderEntry> Module1::ListSubfolders(const QString& folderPath,
                                                 std::vector<dosfs::DirEntry>& folders) {
    QString prefix = folderPath;
    if (prefix.endsWith(u'\\')) prefix.chop(1);
    prefix += u'\\';
    std::vector<FolderEntry> table;
    table.reserve(folders.size());
    // The names are sorted already, and a common prefix keeps their order.
    for (dosfs::DirEntry& f : folders) table.push_back({prefix + f.name, std::move(f.hostName)});
    return table;
}

}  // namespace engine
