#pragma once
// The search of 保存ファイルの管理: a name (a pattern with * ? [ ]) looked
// for in every snapshot of the output directory, the files found listed
// with what tolan-list --find writes of them, the file first. The window
// stays responsive while it runs: events run between blocks of lines; 中止,
// a new search or closing the dialog ends it.

#include "engine/snapshot_find.h"
#include "platform/forms/basic_controls.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <vector>

namespace output {

class Form6Search {
  public:
    // What is searched: the output directory as a host path, and the names
    // of its snapshots.
    struct Snapshots {
        QByteArray folder;
        QStringList names;
    };
    // `snapshots` is asked at the start of each search.
    Form6Search(forms::Form& form, std::function<Snapshots()> snapshots);

    forms::Label& Label3;
    forms::TextBox& Text3;           // the pattern
    forms::CommandButton& Command5;  // 検索, 中止 while a search runs
    forms::Label& Label4;
    forms::ListBox& List2;  // the files found
    forms::Label& Label5;   // what the search says

    // A file found: the snapshot (its name in the output directory) and
    // the file as the snapshot holds it.
    struct Result {
        QString snapshot;
        engine::FoundFile file;
    };
    const std::vector<Result>& results() const { return results_; }
    bool searching() const { return searching_; }
    // A new search for the text of Text3; one that runs ends first.
    void start();
    // Ends the search that runs, if one does.
    void stop();
    // The dialog opened afresh: nothing found shown.
    void reset();
    // Opening the file found at a row (double-click, Enter); set by the dialog.
    std::function<void(const Result&)> open;

    // A search stops at this many files found, so that "*" over many large
    // snapshots cannot fill the memory.
    static constexpr int kMostResults = 100000;

  private:
    bool patternShown(const QByteArray& pattern);
    void finish(int unreadable, const QString& firstTrouble, bool full);
    void openRow();
    forms::Form& form_;
    std::function<Snapshots()> snapshots_;
    std::vector<Result> results_;
    bool searching_ = false;
    int generation_ = 0;  // a search that finds it changed ends
};

}  // namespace output
