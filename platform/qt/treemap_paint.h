#pragma once
// The occupancy graph drawn with Qt Gui: on a painter (the window, a PNG)
// and as SVG text. The window and tolan-list draw the same picture.

#include "platform/treemap/squarify.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

class QPainter;

namespace qtbind {

enum class GraphColours { ByKind, ByDepth };

// The layout's measures at the graph's label size.
treemap::LayoutOptions graphLayoutOptions();

// The tiles of `top` filling a picture of w × h pixels, areas by `measure`.
std::vector<treemap::Tile> graphTiles(const treemap::Tree& tree, int top, double w, double h,
                                      treemap::Measure measure = treemap::Measure::Length);

// A file's colour by its extension (the ten largest have colours of their
// own) or by depth; folders, merged files and rests have muted ones.
QColor tileColour(const treemap::Tree& tree, const treemap::Tile& tile, GraphColours colours);
// The colour of the k-th largest extension; k past the tenth: the shared one.
QColor extensionColour(int k);

// What the colours stand for: the largest kinds of file (or the depth), the
// other kinds, and the grey tiles of a folder's remaining files and of what
// is too small to draw (hatched). An entry without a colour is a caption.
struct LegendEntry {
    QColor colour;
    QString label;
    bool hatched = false;
};
std::vector<LegendEntry> graphLegend(const treemap::Tree& tree, GraphColours colours);

void paintGraph(QPainter& painter, const treemap::Tree& tree,
                const std::vector<treemap::Tile>& tiles, GraphColours colours);

// A plain SVG of w × h: one <rect> a tile, before its children, each with a
// <title> "relative path<TAB>bytes" ("." for the graph's folder itself).
QByteArray graphSvg(const treemap::Tree& tree, const std::vector<treemap::Tile>& tiles, int w,
                    int h, GraphColours colours,
                    treemap::Measure measure = treemap::Measure::Length);
// The same picture as a PNG file's bytes; empty when it cannot be made.
QByteArray graphPng(const treemap::Tree& tree, const std::vector<treemap::Tile>& tiles, int w,
                    int h, GraphColours colours);

// The picture as the window saves it: `title` above, the legend below, at
// `ratio` device pixels a pixel, marked so that viewers show it at w × h.
struct SavedGraph {
    const treemap::Tree& tree;
    const std::vector<treemap::Tile>& tiles;
    int w, h;
    GraphColours colours;
    qreal ratio;
    QString title;
};
QImage savedGraphImage(const SavedGraph& graph);

// The title of a tile: its path and bytes, tab-separated.
QString tileTitle(const treemap::Tree& tree, const std::vector<treemap::Tile>& tiles, size_t k,
                  treemap::Measure measure = treemap::Measure::Length);

}  // namespace qtbind
