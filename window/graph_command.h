#pragma once
// The menu item 占有グラフ (sgraph): the occupancy graph of the last scan in
// a window of its own; before any scan a message says to scan first. An
// open graph follows each new scan, saying while one runs that it shows
// the one before. A click in the graph opens the folder in Side A's folder
// tree. Construct
// after the main window's behaviour; lives as long as the main window.

#include "window/main_window.h"

#include <memory>

namespace window {

class GraphCommand {
  public:
    explicit GraphCommand(MainWindow& main);
    ~GraphCommand();
    GraphCommand(const GraphCommand&) = delete;
    GraphCommand& operator=(const GraphCommand&) = delete;

    void sgraph_Click();

    // The main window the graph's clicks reach; null once it has gone, as
    // the graph's window may outlive it.
    struct Link {
        MainWindow* main;
    };

  private:
    // Shows `graph` in the graph's window when it is open.
    void showIfOpen(std::shared_ptr<const treemap::Tree> graph, bool earlier);

    MainWindow& main_;
    std::shared_ptr<Link> link_;
    std::shared_ptr<const treemap::Tree> shown_;  // the graph last shown
};

}  // namespace window
