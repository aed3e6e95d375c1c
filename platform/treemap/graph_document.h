#pragma once
// What the occupancy graph's window shows and where its clicks go. The main
// window's side implements it with the program's own texts; the window
// (platform/qt) holds it as long as it is open, so it must stay usable after
// the main window has gone (then select() does nothing).

#include "platform/treemap/squarify.h"

#include <QString>

#include <memory>

namespace treemap {

class GraphDocument {
  public:
    virtual ~GraphDocument() = default;
    virtual std::shared_ptr<const Tree> tree() const = 0;
    // The window's caption, for the folder shown (the root or one zoomed into).
    virtual QString title(int node) const = 0;
    // A line under the picture: a partial scan, a tree of empty files, an
    // earlier scan shown while the next one runs.
    virtual QString note() const = 0;
    // What hovering over a node says: its path, size (by `measure`) and
    // files; `amount` is what the rectangle stands for (a merged rest is
    // less than its folder).
    virtual QString describe(int node, bool rest, Amount amount, Measure measure) const = 0;
    // A click on a folder: the main window opens it in its folder tree.
    // Returns what to say when it cannot (the folder is gone), else "".
    virtual QString select(int node) = 0;
};

}  // namespace treemap
