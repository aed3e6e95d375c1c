#pragma once
// The program-wide services for model tests: queued actions run when events
// are let run, the clipboard is a string, beeps and the end are counted.

#include "platform/forms/application.h"
#include "platform/treemap/graph_document.h"

#include <QString>

#include <functional>
#include <vector>

class TestApplication : public forms::Application {
  public:
    std::vector<std::function<void()>> queued;
    QString clipboard;
    int beeps = 0;
    int ends = 0;
    int eventRuns = 0;
    int paintRuns = 0;
    std::function<void(int run)> onRun;  // called at each letEventsRun, numbered from 1
    int previews = 0;
    // What a print preview does with the pages (nothing, when not set).
    std::function<forms::PrintOutcome(forms::PrintDocument&)> onPrint;
    // The occupancy graph last shown.
    std::shared_ptr<treemap::GraphDocument> graph;

    void letEventsRun() override {
        ++eventRuns;
        if (onRun) onRun(eventRuns);
        std::vector<std::function<void()>> now;
        now.swap(queued);
        for (auto& action : now) action();
    }
    void letPaintRun() override { ++paintRuns; }
    void beep() override { ++beeps; }
    void clipboardClear() override { clipboard.clear(); }
    void clipboardSetText(const QString& text) override { clipboard = text; }
    void end() override { ++ends; }
    forms::PrintOutcome printPreview(forms::PrintDocument& pages) override {
        ++previews;
        return onPrint ? onPrint(pages) : forms::PrintOutcome::NotPrinted;
    }
    void showGraph(std::shared_ptr<treemap::GraphDocument> document) override {
        graph = std::move(document);
    }
};
