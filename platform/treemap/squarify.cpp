#include "platform/treemap/squarify.h"

#include <algorithm>

namespace treemap {
namespace {

struct Item {
    double area;
    std::int32_t node;  // -1: the rest
};

class Layouter {
  public:
    Layouter(const Tree& tree, const LayoutOptions& options, std::vector<Tile>& out)
        : tree_(tree), options_(options), out_(out) {}

    void place(int node, Rect r, int depth);

  private:
    void squarify(std::vector<Item>& items, Rect free, int parent, int depth);
    void add(Rect r, int node, int depth, std::uint8_t flags) {
        out_.push_back(Tile{float(r.x), float(r.y), float(r.w), float(r.h), node,
                            std::uint8_t(std::min(depth, 255)), flags});
    }

    const Tree& tree_;
    const LayoutOptions& options_;
    std::vector<Tile>& out_;
};

// The worst aspect ratio of a row of areas summing to `sum` along `side`.
double worst(double sum, double smallest, double largest, double side) {
    const double s2 = side * side, sum2 = sum * sum;
    return std::max(s2 * largest / sum2, sum2 / (s2 * smallest));
}

bool labelFits(const Rect& inner, double band) {
    return band > 0 && inner.h > 2 * band && inner.w > 3 * band;
}

}  // namespace

Rect innerRect(const Tile& tile, const LayoutOptions& options) {
    const double f = options.frame;
    Rect inner{tile.x + f, tile.y + f, tile.w - 2 * f, tile.h - 2 * f};
    if (tile.flags & Tile::kLabelled) {
        inner.y += options.labelBand;
        inner.h -= options.labelBand;
    }
    return inner;
}

void Layouter::place(int node, Rect r, int depth) {
    const Node& n = tree_[node];
    const size_t self = out_.size();
    add(r, node, depth, 0);
    if (n.kind != Kind::Folder || n.childCount == 0) return;
    const double f = options_.frame;
    Rect inner{r.x + f, r.y + f, r.w - 2 * f, r.h - 2 * f};
    if (labelFits(inner, options_.labelBand)) {
        out_[self].flags |= Tile::kLabelled;
        inner.y += options_.labelBand;
        inner.h -= options_.labelBand;
    }
    if (inner.w <= 0 || inner.h <= 0 || inner.area() < options_.minArea) return;
    // Areas of the children, largest first; a folder of empty files shares
    // its area equally. The tree keeps them by length, so the space on disk
    // puts them in order again.
    const Measure m = options_.measure;
    const bool equal = n.size(m) == 0;
    const double scale = inner.area() / (equal ? double(n.childCount) : double(n.size(m)));
    std::vector<Item> items;
    double rest = 0;
    for (int c = n.firstChild; c < n.firstChild + n.childCount; ++c) {
        const double a = (equal ? 1.0 : double(tree_[c].size(m))) * scale;
        if (a >= options_.minArea)
            items.push_back({a, c});
        else
            rest += a;
    }
    if (m != Measure::Length)
        std::stable_sort(items.begin(), items.end(),
                         [](const Item& x, const Item& y) { return x.area > y.area; });
    if (rest > 0) items.push_back({rest, -1});
    squarify(items, inner, node, depth + 1);
}

void Layouter::squarify(std::vector<Item>& items, Rect free, int parent, int depth) {
    size_t i = 0;
    while (i < items.size()) {
        const bool wide = free.w >= free.h;  // the row runs along the shorter side
        const double side = wide ? free.h : free.w;
        double sum = items[i].area, lo = sum, hi = sum;
        size_t j = i + 1;
        for (; j < items.size(); ++j) {
            const double a = items[j].area;
            if (worst(sum + a, std::min(lo, a), std::max(hi, a), side) > worst(sum, lo, hi, side))
                break;
            sum += a, lo = std::min(lo, a), hi = std::max(hi, a);
        }
        // The last row takes what is left, so rounding never leaves a gap.
        const bool last = j == items.size();
        const double thick = last ? (wide ? free.w : free.h) : sum / side;
        double at = wide ? free.y : free.x;
        for (size_t k = i; k < j; ++k) {
            const double length = (k + 1 == j) ? (wide ? free.y + free.h : free.x + free.w) - at
                                               : items[k].area / thick;
            const Rect r = wide ? Rect{free.x, at, thick, length} : Rect{at, free.y, length, thick};
            at += length;
            if (items[k].node < 0)
                add(r, parent, depth, Tile::kRest);
            else
                place(items[k].node, r, depth);
        }
        if (wide) {
            free.x += thick;
            free.w -= thick;
        } else {
            free.y += thick;
            free.h -= thick;
        }
        i = j;
    }
}

std::vector<Tile> layout(const Tree& tree, int top, Rect bounds, const LayoutOptions& options) {
    std::vector<Tile> tiles;
    if (top < 0 || top >= tree.size() || bounds.w <= 0 || bounds.h <= 0) return tiles;
    Layouter(tree, options, tiles).place(top, bounds, 0);
    return tiles;
}

Amount restAmount(const Tree& tree, const std::vector<Tile>& tiles, size_t restIndex) {
    // The rest follows the tiles of its folder's other children: what they
    // leave of the folder is its share.
    const int parent = tiles[restIndex].node;
    Amount a{tree[parent].bytes, tree[parent].disk, tree[parent].files};
    for (size_t k = restIndex; k-- > 0 && tiles[k].node != parent;)
        if (!tiles[k].rest() && tree[tiles[k].node].parent == parent) {
            a.bytes -= tree[tiles[k].node].bytes;
            a.disk -= tree[tiles[k].node].disk;
            a.files -= tree[tiles[k].node].files;
        }
    return a;
}

int tileAt(const std::vector<Tile>& tiles, double x, double y) {
    for (size_t k = tiles.size(); k-- > 0;)
        if (tiles[k].rect().contains(x, y)) return int(k);
    return -1;
}

int childTileAt(const std::vector<Tile>& tiles, double x, double y) {
    for (size_t k = 1; k < tiles.size(); ++k)
        if (tiles[k].depth == 1 && tiles[k].rect().contains(x, y)) return int(k);
    return -1;
}

}  // namespace treemap
