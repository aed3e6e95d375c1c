#pragma once
// The occupancy graph's window: a row of commands (up, colours, save), the
// picture, a legend of the ten largest kinds of file, and a line that says
// what the mouse or the keys point at. One window; showing another graph
// replaces what it shows.

#include "platform/qt/graph_canvas.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace qtbind {

class GraphWindow : public QWidget {
  public:
    explicit GraphWindow(QWidget* parent = nullptr);

    void setDocument(std::shared_ptr<treemap::GraphDocument> document);
    GraphCanvas& canvas() { return *canvas_; }
    QLabel& status() { return *status_; }
    QPushButton& saveButton() { return *save_; }
    QComboBox& coloursBox() { return *colours_; }

    // Writes the picture shown, as PNG or SVG by the name's suffix, through
    // the one writer of files; says in the status line how that went.
    bool saveTo(const QString& fileName);

  private:
    void askAndSave();
    void showZoom();
    void showLegend();

    std::shared_ptr<treemap::GraphDocument> document_;
    GraphCanvas* canvas_;
    QPushButton* up_;
    QComboBox* colours_;
    QPushButton* save_;
    QLabel* legend_;
    QLabel* note_;
    QLabel* status_;
};

}  // namespace qtbind
