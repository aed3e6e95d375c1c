#pragma once
// The sizes of a scanned folder tree as the occupancy graph shows them: every
// folder, and in each folder its largest files (by length); the smaller ones
// of a folder are one "other" node. Sizes are exact byte sums of the files
// below, both of their lengths and of the space they take on disk.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace treemap {

enum class Kind : std::uint8_t { Folder, File, Other };

// Which size the graph shows: the files' lengths, or the space used on disk
// (a sparse file takes less than its length).
enum class Measure : std::uint8_t { Length, Disk };

struct Node {
    qint64 bytes = 0;  // the files' lengths
    qint64 disk = 0;   // the space they take on disk
    qint64 files = 0;  // files below a folder; merged files of an "other" node
    std::int32_t parent = -1;
    std::int32_t firstChild = 0;  // children are contiguous, largest first
    std::int32_t childCount = 0;
    std::int16_t extension = -1;  // a file's index in Tree::extensions
    std::uint8_t depth = 0;
    Kind kind = Kind::Folder;
    qint64 size(Measure m) const { return m == Measure::Disk ? disk : bytes; }
};

class Tree {
  public:
    std::vector<Node> nodes;  // node 0 is the scanned folder
    std::vector<QString> names;
    QString rootPath;        // the DOS path scanned
    QStringList extensions;  // lower case, by bytes, largest first
    std::vector<qint64> extensionBytes;
    bool partial = false;  // the scan stopped before its end

    const Node& operator[](int i) const { return nodes[size_t(i)]; }
    int size() const { return int(nodes.size()); }
    bool isFolder(int i) const { return nodes[size_t(i)].kind == Kind::Folder; }
    // Relative to the scanned folder, '/'-separated, names as the file layer
    // decodes them; an "other" node's last name is "*". The root's is "".
    QString relativePath(int i) const;
    // The DOS path; an "other" node's is its folder's.
    QString dosPath(int i) const;
    // Memory held, in bytes (an estimate from the containers' capacities).
    size_t memoryBytes() const;
};

// The extension a name is coloured by: after its last dot, lower case; empty
// for none or one longer than kLongestExtension characters.
constexpr int kLongestExtension = 10;
QString extensionOf(const QString& name);
// The same, as it stands in the name (not lowered).
QStringView extensionIn(QStringView name);

}  // namespace treemap
