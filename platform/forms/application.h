#pragma once
// Program-wide services the forms rely on.

#include "platform/forms/print_document.h"

#include <QString>

#include <memory>

namespace treemap {
class GraphDocument;
}

namespace forms {

class Form;

class Application {
  public:
    virtual ~Application() = default;
    // Runs every queued event handler, then returns.
    virtual void letEventsRun() = 0;
    // Lets the window repaint and its timers run; user input waits.
    virtual void letPaintRun() {}
    virtual void beep() = 0;
    virtual void clipboardClear() = 0;
    virtual void clipboardSetText(const QString& text) = 0;
    // Ends the program at once; no other window's closing handler runs.
    virtual void end() = 0;
    // A form about to be shown that has no view yet (a dialog) gets one here;
    // the view goes when the form does.
    virtual void createView(Form&) {}
    virtual void formDestroyed(Form&) {}
    // Shows the pages in a print preview, from which the user prints them or
    // saves them as a PDF; returns when the preview is closed. Without a
    // toolkit nothing is shown.
    virtual PrintOutcome printPreview(PrintDocument&) { return PrintOutcome::NotPrinted; }
    // Shows the occupancy graph in a window of its own (one at a time: a
    // second call replaces what it shows), without blocking. Without a
    // toolkit nothing is shown.
    virtual void showGraph(std::shared_ptr<treemap::GraphDocument>) {}
    // Whether the graph's window is open; when it is, updateGraph shows a
    // new document in it (a new scan ended) without bringing it to the front.
    virtual bool graphOpen() const { return false; }
    virtual void updateGraph(std::shared_ptr<treemap::GraphDocument>) {}
};

}  // namespace forms
