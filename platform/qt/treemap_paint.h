#pragma once
// The occupancy graph drawn with Qt Gui: on a painter (the window, a PNG)
// and as SVG text. The window and tolan-list draw the same picture.

#include "platform/treemap/squarify.h"

#include <QByteArray>
#include <QColor>
#include <QImage>

class QPainter;

namespace qtbind {

enum class GraphColours { ByKind, ByDepth };

// The layout's measures at the graph's label size.
treemap::LayoutOptions graphLayoutOptions();

// The tiles of `top` filling a picture of w × h pixels.
std::vector<treemap::Tile> graphTiles(const treemap::Tree& tree, int top, double w, double h);

// A file's colour by its extension (the ten largest have colours of their
// own) or by depth; folders, merged files and rests have muted ones.
QColor tileColour(const treemap::Tree& tree, const treemap::Tile& tile, GraphColours colours);
// The colour of the k-th largest extension; k past the tenth: the shared one.
QColor extensionColour(int k);

void paintGraph(QPainter& painter, const treemap::Tree& tree,
                const std::vector<treemap::Tile>& tiles, GraphColours colours);

// A plain SVG of w × h: one <rect> a tile, before its children, each with a
// <title> "relative path<TAB>bytes" ("." for the graph's folder itself).
QByteArray graphSvg(const treemap::Tree& tree, const std::vector<treemap::Tile>& tiles, int w,
                    int h, GraphColours colours);
// The same picture as a PNG file's bytes; empty when it cannot be made.
QByteArray graphPng(const treemap::Tree& tree, const std::vector<treemap::Tile>& tiles, int w,
                    int h, GraphColours colours);

// The title of a tile: its path and bytes, tab-separated.
QString tileTitle(const treemap::Tree& tree, const std::vector<treemap::Tile>& tiles, size_t k);

}  // namespace qtbind
