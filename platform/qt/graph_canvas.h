#pragma once
// The occupancy graph's picture in the window: drawn once a layout into an
// image at the screen's pixel ratio, so a repaint (a hover) only copies it
// and frames the tiles in view. The mouse and the keys explore it: hover
// describes, a click selects a folder, a double-click or Enter zooms in,
// Backspace or a right click goes up, the arrows move between neighbours.
// A screen reader is told the tile under the pointer or chosen by the keys:
// its name, size and share of the folder shown.

#include "platform/qt/treemap_paint.h"
#include "platform/treemap/graph_document.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace qtbind {

class GraphCanvas : public QWidget {
  public:
    explicit GraphCanvas(QWidget* parent = nullptr);

    void setDocument(std::shared_ptr<treemap::GraphDocument> document);
    void setColours(GraphColours colours);
    GraphColours colours() const { return colours_; }
    void setMeasure(treemap::Measure measure);
    treemap::Measure measure() const { return measure_; }
    // The folder shown whole; 0 is the folder scanned.
    int top() const { return top_; }
    void zoomTo(int node);
    void zoomOut();
    // The tile under the mouse and the one the keys have chosen, or -1.
    int hovered() const { return hovered_; }
    int selected() const { return selected_; }
    const std::vector<treemap::Tile>& tiles() const { return tiles_; }

    // Told what to show under the picture: a tile described, or a message.
    std::function<void(const QString&)> onStatus;
    // Told when the folder shown changes.
    std::function<void()> onZoom;

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void leaveEvent(QEvent*) override;

  private:
    void relayout();
    void describe(int tile);
    void select(int tile, bool open);
    void move(int dx, int dy);
    // The folder a tile stands in: itself, or the folder of a file or rest.
    int folderOf(int tile) const;
    // The tile of `node` laid out now (not a rest), or -1.
    int tileOf(int node) const;

    std::shared_ptr<treemap::GraphDocument> document_;
    std::shared_ptr<const treemap::Tree> tree_;
    GraphColours colours_ = GraphColours::ByKind;
    treemap::Measure measure_ = treemap::Measure::Length;
    int top_ = 0;
    std::vector<treemap::Tile> tiles_;
    QImage picture_;  // null: to be drawn
    int hovered_ = -1;
    int selected_ = -1;
};

}  // namespace qtbind
