#pragma once
// The occupancy graph's window: a row of commands (up, colours, the size
// shown: the files' lengths or the space on disk, save), the picture, a
// legend of the ten largest kinds of file and the grey tiles, a line that
// says which size it shows (and notes on the scan), and a line that says
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
    QComboBox& measureBox() { return *measure_; }
    QLabel& legend() { return *legend_; }
    QLabel& noteLine() { return *note_; }

    // Writes the picture shown, as PNG or SVG by the name's suffix, through
    // the one writer of files; says in the status line how that went. A PNG
    // is titled, has the legend under it and is at the screen's pixel ratio.
    bool saveTo(const QString& fileName);

  private:
    void askAndSave();
    void showZoom();
    void showLegend();
    void showNote();
    QString pictureTitle() const;
    QByteArray pngBytes() const;

    std::shared_ptr<treemap::GraphDocument> document_;
    GraphCanvas* canvas_;
    QPushButton* up_;
    QComboBox* colours_;
    QComboBox* measure_;
    QPushButton* save_;
    QLabel* legend_;
    QLabel* note_;
    QLabel* status_;
};

}  // namespace qtbind
