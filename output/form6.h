#pragma once
// "保存ファイルの管理": the snapshots in the output directory. A snapshot of
// the folder the main window shows is saved under a name made of the
// folder and the scan's time, numbered when that is taken; a name that is
// there is replaced only after a second press of 保存; the list gives each snapshot's folder, time
// and number of files; a comparison of the folder now with the snapshot
// selected goes to Side B and the work file, as a scan's listing does; a
// snapshot is deleted after a second press of "削除"; a name is searched
// for in every snapshot (output/form6_search.h).

#include "engine/comparison.h"
#include "engine/module1.h"
#include "output/form6_search.h"
#include "platform/dosfs/file_writer.h"
#include "shell/form1.h"

#include <QStringList>

#include <functional>

namespace output {

inline const QString kSnapshotPattern = QStringLiteral(".jsonl");

// The scans a snapshot is made with: those tolan-list makes them with
// (engine/snapshot_scan.h), given by the program, so that the window writes
// the same bytes tolan-list writes. `events` runs between folders so that
// the window stays responsive.
struct SnapshotScans {
    using Events = std::function<void()>;
    // The JSON lines of the folder `root` into `out`; the first write error, 0 for none.
    std::function<int(const dosfs::FileSystem& fs, const QString& root, dosfs::FileWriter& out,
                      Events events)>
        write;
    // Every file below `root`, at every level, handed to `comparison`.
    std::function<void(engine::Comparison& comparison, const dosfs::FileSystem& fs,
                       const QString& root, Events events)>
        compare;
};

class Form6 : public forms::Form {
  public:
    static constexpr int kWidth = 7515;
    static constexpr int kHeight = 8745;

    // The folder to scan (main.state) and the scan's time name a snapshot;
    // a comparison's lines replace Side B's.
    Form6(shell::MainLink main, forms::ListBox& sideB, const engine::Module1& scan,
          SnapshotScans scans);

    shell::MainLink main;
    forms::ListBox& sideB;
    const engine::Module1& scan;
    const SnapshotScans scans;

    forms::Label& Label1;
    forms::TextBox& Text1;           // the name to save under
    forms::CommandButton& Command1;  // 保存
    forms::Label& Label2;
    forms::ListBox& List1;           // the snapshots
    forms::TextBox& Text2;           // what a command says
    forms::CommandButton& Command2;  // 比較
    forms::CommandButton& Command3;  // 削除
    forms::CommandButton& Command4;  // 戻る
    forms::CommandButton& Command5;  // 開く

    // Shows the snapshot at a host path in the main window (Side A and B);
    // false with what is wrong. Given by the program.
    // `select`: a file's host path below the folder, selected in Side A.
    std::function<bool(const QByteArray& hostPath, QString& message, const QByteArray& select)>
        openSnapshot;

    Form6Search search;  // ファイル名検索 and what it found

    // The file names List1 shows, in its order, with the folder each is a
    // snapshot of (empty when unknown) and its time as the list gives it.
    QStringList names;
    QStringList folders;
    QStringList times;

    // KANRI: the dialog with the list of the output directory.
    void open();
    // The name a snapshot of the scan shown is offered under.
    QString offeredName() const;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    // Opens a snapshot in the main window, a file in it selected (or none);
    // the dialog closes first and opens again to say what was wrong.
    void openInWindow(const QString& name, const QByteArray& select);

  private:
    void refresh();
    bool taken(const QString& name) const;
    void disarmSave();
    void say(const QString& text);
    QByteArray hostFolder(int& error) const;
    void close();
    bool pressedAgain(int row, const forms::CommandButton& by);
    QStringList comparisonHeading(int row) const;
    std::function<void()> events();
    int armed_ = -1;  // the row a first press of 削除 or 比較 asked about
    const forms::CommandButton* armedBy_ = nullptr;
    QString armedName_;  // the name there that a first press of 保存 named
};

}  // namespace output
