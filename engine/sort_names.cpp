// Folder and file names in listing order: ordinal on UTF-16 code units after
// lower-casing, names equal after lower-casing in their exact order, so a
// listing comes out the same from run to run.

#include "engine/module1.h"

#include <algorithm>
#include <numeric>

namespace engine {
namespace {

template <typename T, typename Name>
void sortByName(std::vector<T>& table, Name name) {
    std::vector<QString> keys;
    keys.reserve(table.size());
    for (const T& entry : table) keys.push_back(name(entry).toLower());
    std::vector<size_t> order(table.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (const int c = QString::compare(keys[a], keys[b], Qt::CaseSensitive); c != 0)
            return c < 0;
        return QString::compare(name(table[a]), name(table[b]), Qt::CaseSensitive) < 0;
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
