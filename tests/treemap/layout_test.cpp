// The occupancy graph's tree and layout, by geometry over a table of trees.

#include "platform/treemap/squarify.h"
#include "platform/treemap/tree_builder.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <algorithm>
#include <functional>
#include <map>

namespace treemap {
namespace {

struct Case {
    const char* name;
    std::function<void(TreeBuilder&)> files;  // after start("C:\\r")
    double width, height;
};

void flat(TreeBuilder& b, std::vector<qint64> sizes) {
    for (size_t i = 0; i < sizes.size(); ++i) b.file(QStringLiteral("f%1.dat").arg(i), sizes[i]);
}

// Three levels of folders with files of random sizes, the same every run.
void nested(TreeBuilder& b) {
    QRandomGenerator rng(7);
    for (int a = 0; a < 6; ++a) {
        const QString pa = QStringLiteral("C:\\r\\a%1").arg(a);
        b.folder(pa);
        for (int f = 0; f < 5; ++f) b.file(QStringLiteral("x%1.txt").arg(f), rng.bounded(100000));
        for (int c = 0; c < 4; ++c) {
            b.folder(pa + QStringLiteral("\\c%1").arg(c));
            for (int f = 0; f < 30; ++f)
                b.file(QStringLiteral("y%1.bin").arg(f), qint64(rng.bounded(1 << 20)) << c);
        }
    }
}

const Case kCases[] = {
    {"one file", [](TreeBuilder& b) { flat(b, {1234}); }, 400, 300},
    {"equal files", [](TreeBuilder& b) { flat(b, std::vector<qint64>(12, 500)); }, 400, 300},
    {"falling sizes",
     [](TreeBuilder& b) {
         flat(b, {60, 50, 40, 30, 20, 10, 6, 5, 4, 3});
     },
     500, 200},
    {"one file holds 99.99 %",
     [](TreeBuilder& b) {
         flat(b, {99'990'000, 2000, 2000, 2000, 2000, 2000});
     },
     800, 600},
    {"empty files", [](TreeBuilder& b) { flat(b, std::vector<qint64>(7, 0)); }, 300, 300},
    {"nested folders", nested, 1200, 800},
    {"100,000 files in one folder",
     [](TreeBuilder& b) {
         for (int i = 0; i < 100'000; ++i) b.file(QStringLiteral("n%1").arg(i), 1000 + i % 977);
     },
     200, 150},
};

struct Checked {
    double worstAspect = 1;  // of tiles among siblings within a factor of 10
    double meanAspect = 0;   // area-weighted, of every tile but rests
};

double aspect(const Tile& t) {
    return std::max(t.w / t.h, t.h / t.w);
}

// Every tile within its parent's inner rectangle, siblings apart, areas in
// proportion to bytes; returns the aspect ratios seen.
Checked checkLayout(const Tree& tree, const std::vector<Tile>& tiles, const LayoutOptions& opt) {
    std::map<int, size_t> tileOf;
    std::map<int, std::vector<size_t>> childrenOf;  // parent node -> child tiles
    for (size_t k = 0; k < tiles.size(); ++k) {
        if (!tiles[k].rest()) tileOf[tiles[k].node] = k;
        if (k > 0)
            childrenOf[tiles[k].rest() ? tiles[k].node : tree[tiles[k].node].parent].push_back(k);
    }
    Checked seen;
    double weighted = 0, area = 0;
    const double eps = 1e-3;
    for (const auto& [parent, kids] : childrenOf) {
        const Rect in = innerRect(tiles[tileOf.at(parent)], opt);
        const Node& p = tree[parent];
        double sum = 0, lo = 1e300, hi = 0;
        for (size_t k : kids) {
            const Rect r = tiles[k].rect();
            EXPECT_GE(r.x, in.x - eps);
            EXPECT_GE(r.y, in.y - eps);
            EXPECT_LE(r.x + r.w, in.x + in.w + eps);
            EXPECT_LE(r.y + r.h, in.y + in.h + eps);
            sum += r.area();
            const Measure m = opt.measure;
            const double bytes = tiles[k].rest() ? double(restAmount(tree, tiles, k).size(m))
                                                 : double(tree[tiles[k].node].size(m));
            const double share = p.size(m) ? bytes / double(p.size(m)) : 1.0 / p.childCount;
            EXPECT_NEAR(r.area() / in.area(), share, share * 0.01)
                << tree.relativePath(parent).toStdString();
            if (!tiles[k].rest()) {
                lo = std::min(lo, bytes), hi = std::max(hi, bytes);
                weighted += aspect(tiles[k]) * r.area();
                area += r.area();
            }
        }
        EXPECT_NEAR(sum, in.area(), in.area() * 1e-6)
            << "gaps in " << tree.relativePath(parent).toStdString();
        for (size_t a = 0; a < kids.size(); ++a)
            for (size_t b = a + 1; b < kids.size(); ++b) {
                const Rect r = tiles[kids[a]].rect(), s = tiles[kids[b]].rect();
                const double ox = std::min(r.x + r.w, s.x + s.w) - std::max(r.x, s.x);
                const double oy = std::min(r.y + r.h, s.y + s.h) - std::max(r.y, s.y);
                EXPECT_TRUE(ox <= eps || oy <= eps)
                    << "overlap in " << tree.relativePath(parent).toStdString();
            }
        if (hi <= 10 * lo)
            for (size_t k : kids)
                if (!tiles[k].rest())
                    seen.worstAspect = std::max(seen.worstAspect, aspect(tiles[k]));
    }
    seen.meanAspect = area > 0 ? weighted / area : 1;
    return seen;
}

// Squarified rows keep tiles near square: among siblings of comparable size
// (within a factor of 10) no tile is more than 4 times as long as wide, and
// over the whole picture the area-weighted mean ratio stays under 2 (one
// huge file beside tiny ones must leave thin strips for them; those count
// by their small area).
TEST(TreemapLayout, TilesNestWithoutOverlapInProportionToBytes) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TreeBuilder b;
        b.start(QStringLiteral("C:\\r"));
        c.files(b);
        const auto tree = b.finish(false);
        const LayoutOptions opt{1, 14, 1};
        const auto tiles = layout(*tree, 0, {0, 0, c.width, c.height}, opt);
        ASSERT_FALSE(tiles.empty());
        const Checked seen = checkLayout(*tree, tiles, opt);
        EXPECT_LE(seen.worstAspect, 4.0);
        EXPECT_LE(seen.meanAspect, 2.0);
    }
}

// The space on disk: a sparse file's length is far more than it takes, a
// small file takes a whole block; the tiles follow the space taken.
TEST(TreemapLayout, TheSpaceOnDiskSizesAndOrdersTheTilesInsteadOfTheLengths) {
    TreeBuilder b;
    b.start(QStringLiteral("C:\\r"));
    b.file(QStringLiteral("sparse.img"), 7'700'000'000, 4096);
    b.file(QStringLiteral("data.bin"), 3'000'000, 3'002'368);
    b.file(QStringLiteral("note.txt"), 10, 4096);
    b.folder(QStringLiteral("C:\\r\\sub"));
    b.file(QStringLiteral("hole"), 1'000'000, 0);
    const auto tree = b.finish(false);
    EXPECT_EQ((*tree)[0].bytes, 7'704'000'010);
    EXPECT_EQ((*tree)[0].disk, 3'010'560);
    LayoutOptions opt{1, 14, 1};
    opt.measure = Measure::Disk;
    const auto tiles = layout(*tree, 0, {0, 0, 600, 400}, opt);
    checkLayout(*tree, tiles, opt);
    ASSERT_GE(tiles.size(), 2u);
    EXPECT_EQ(tree->names[size_t(tiles[1].node)], QStringLiteral("data.bin"));
}

TEST(TreemapTree, FolderSumsAreExactAndSmallFilesMergeIntoOther) {
    TreeBuilder b;
    b.start(QStringLiteral("C:\\"));
    b.file(QStringLiteral("top.iso"), 5'000'000'000);  // beyond 32 bits
    b.folder(QStringLiteral("C:\\写真"));
    for (int i = 1; i <= 40; ++i) b.file(QStringLiteral("p%1.JPG").arg(i), i);
    b.folder(QStringLiteral("C:\\写真\\\uF7FFbad"));
    b.file(QStringLiteral("x.jpg"), 7);
    b.folder(QStringLiteral("C:\\b"));
    b.file(QStringLiteral("z.ＰＮＧ"), 0);
    b.file(QStringLiteral("long.abcdefghijk"), 0);  // too long to be an extension
    const auto tree = b.finish(true);
    EXPECT_TRUE(tree->partial);
    EXPECT_EQ((*tree)[0].bytes, 5'000'000'000 + 820 + 7);
    EXPECT_EQ((*tree)[0].files, 44);
    // The root's children, largest first: the file, 写真, b.
    const Node& root = (*tree)[0];
    ASSERT_EQ(root.childCount, 3);
    const int photos = root.firstChild + 1;
    EXPECT_EQ(tree->relativePath(photos), QStringLiteral("写真"));
    EXPECT_EQ(tree->dosPath(photos), QStringLiteral("C:\\写真"));
    EXPECT_EQ((*tree)[photos].bytes, 827);
    // 写真 keeps its 10 largest files and one "other" for the 30 smallest.
    const Node& p = (*tree)[photos];
    ASSERT_EQ(p.childCount, 1 + TreeBuilder::kFilesKept + 1);
    qint64 kept = 0;
    int other = -1, sub = -1;
    for (int c = p.firstChild; c < p.firstChild + p.childCount; ++c) {
        if ((*tree)[c].kind == Kind::File) kept += (*tree)[c].bytes;
        if ((*tree)[c].kind == Kind::Other) other = c;
        if ((*tree)[c].kind == Kind::Folder) sub = c;
    }
    EXPECT_EQ(kept, (31 + 40) * 10 / 2);
    ASSERT_NE(other, -1);
    EXPECT_EQ((*tree)[other].files, 30);
    EXPECT_EQ((*tree)[other].bytes, 30 * 31 / 2);
    EXPECT_EQ(tree->relativePath(other), QStringLiteral("写真/*"));
    EXPECT_EQ(tree->relativePath(sub), QStringLiteral("写真/\uF7FFbad"));
    // Extensions by bytes, case folded, wide letters too: iso before jpg.
    EXPECT_EQ(tree->extensions, (QStringList{"iso", "jpg", "ｐｎｇ"}));

    // A large folder keeps one file in 16, at most 1024: its largest.
    b.start(QStringLiteral("C:\\"));
    for (int i = 0; i < 20000; ++i)
        b.file(QStringLiteral("f%1").arg((i * 7919) % 20000), (i * 7919) % 20000);
    const auto big = b.finish(false);
    ASSERT_EQ((*big)[0].childCount, 1024 + 1);
    const Node& merged = (*big)[(*big)[0].firstChild];  // the largest by far
    EXPECT_EQ(merged.kind, Kind::Other);
    EXPECT_EQ(merged.files, 20000 - 1024);
    EXPECT_EQ((*big)[(*big)[0].firstChild + 1024].bytes, 20000 - 1024);  // the smallest kept
}

}  // namespace
}  // namespace treemap
