#pragma once
// The squarified treemap layout (Bruls, Huizing and van Wijk): each folder's
// rectangle is divided among its children, largest first, in rows laid along
// the shorter side of the space left, a row growing while that brings its
// worst aspect ratio down. Areas are exactly proportional to bytes within a
// folder's inner rectangle (inside its frame and name band). Children that
// would be smaller than `minArea` are one "rest" tile at the end; a tree
// whose folder holds 0 bytes gives its children equal areas.

#include "platform/treemap/tree.h"

#include <cstdint>
#include <vector>

namespace treemap {

struct Rect {
    double x = 0, y = 0, w = 0, h = 0;
    double area() const { return w * h; }
    bool contains(double px, double py) const {
        return px >= x && py >= y && px < x + w && py < y + h;
    }
};

struct Tile {
    float x, y, w, h;
    std::int32_t node;   // for a rest tile, the folder whose children it merges
    std::uint8_t depth;  // below the tile laid out first
    std::uint8_t flags;
    static constexpr std::uint8_t kRest = 1;      // merged small children
    static constexpr std::uint8_t kLabelled = 2;  // a folder with a name band
    Rect rect() const { return {x, y, w, h}; }
    bool rest() const { return flags & kRest; }
};

struct LayoutOptions {
    double frame = 1;                   // inset of a folder's children on each side
    double labelBand = 0;               // height of a folder's name band; 0 for none
    double minArea = 1;                 // smaller children are merged into a rest tile
    Measure measure = Measure::Length;  // the size areas stand for
};

// The tiles of `top` and everything below it within `bounds`, each tile
// before its children (a later tile that contains a point is deeper).
std::vector<Tile> layout(const Tree& tree, int top, Rect bounds, const LayoutOptions& options);

// The rectangle inside a folder's tile its children share.
Rect innerRect(const Tile& tile, const LayoutOptions& options);

// The bytes a tile stands for (lengths and on disk), and its files.
struct Amount {
    qint64 bytes = 0;
    qint64 disk = 0;
    qint64 files = 0;
    qint64 size(Measure m) const { return m == Measure::Disk ? disk : bytes; }
};
Amount restAmount(const Tree& tree, const std::vector<Tile>& tiles, size_t restIndex);

// The deepest tile containing the point, or -1.
int tileAt(const std::vector<Tile>& tiles, double x, double y);
// The tile one level below the first containing the point, or -1.
int childTileAt(const std::vector<Tile>& tiles, double x, double y);

}  // namespace treemap
