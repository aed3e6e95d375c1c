#pragma once
// The main window's behaviour: the scan commands and their run state, the
// option boxes, and the Side A browser (drive, folder, the three columns,
// their scroll sync, the splitters and the enlarge toggle). It is also the
// host the tree scan runs against.

#include "engine/module1.h"
#include "engine/scan_host.h"
#include "engine/snapshot.h"
#include "platform/treemap/tree.h"
#include "shell/form1.h"

#include <QElapsedTimer>

#include <functional>

namespace window {

class SideBRows;

class MainWindow : public engine::ScanHost {
  public:
    // Wires every handler; construct before the form is loaded.
    explicit MainWindow(shell::Form1& form);

    shell::Form1& form;
    engine::Module1 scan;
    // The occupancy graph of the last scan (partial when it was stopped);
    // null before the first. It is made from the scan's table the first
    // time it is asked for, so a scan never waits for a graph nobody looks at.
    std::shared_ptr<const treemap::Tree> lastGraph();
    // Shows the saved scan (a snapshot) at `hostPath` in Side A and Side B
    // as its scan showed them, in the mode of the last scan, and says which
    // it is; the window's folder stays. False, with what is wrong, when the
    // snapshot cannot be read whole (nothing shown is changed then).
    // `select` (a file's host path below the folder, when given) is then
    // selected in Side A and scrolled into view.
    bool showSnapshot(const QByteArray& hostPath, QString& message,
                      const QByteArray& select = QByteArray());
    // Runs when a scan has begun, before it reads a folder.
    std::function<void()> scanStarting;
    // Runs when a scan has ended and the window is idle again.
    std::function<void()> scanEnded;

    // Scan commands and the stop/exit button.
    void Command3_Click() { runScan(engine::ScanMode::Totals); }
    void Command1_Click() { runScan(engine::ScanMode::Plain); }
    void Command6_Click() { runScan(engine::ScanMode::Folders); }
    void Command5_Click();
    void Command5_MouseMove();
    // A press of the stop/exit button begins (the mouse button or Space goes
    // down on it), or a mouse press ends at (x, y) twips, off the button or on it.
    void Command5_PressBegins();
    void Command5_MouseUp(int x, int y);
    void Form_MouseMove();
    void Combo1_Click();
    void Combo1_Change();
    void Combo2_Click();
    void Combo2_Change();

    // Side A.
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_Click();
    void Dir1_LostFocus();
    void List2_Click(int i);
    void List2_DblClick(int i);
    void List2_GotFocus(int i);
    void List2_KeyDown(int i, int key = 0);
    void List2_LostFocus(int i);
    void List2_MouseDown(int i);
    void List2_MouseMove(int i);
    void Label10_MouseDown(int k, int x, int y);
    void Label10_MouseMove(int k, int x, int y);
    void Label10_MouseUp(int k);
    void List1_MouseDown(int button);
    void List1_MouseMove();
    // The keys that copy as the right button does: Ctrl+C, Ctrl+Insert,
    // Shift+F10 and the context menu key.
    void List1_KeyDown(int key, int shift);
    // Hints, the comment switch and the help panel.
    void Command9_Click();
    void Command9_MouseMove();
    void Command7_Click();
    // F1 opens the help panel and gives it the focus; Escape closes it.
    void Form_KeyDown(int& key, int shift);

    void Timer3_Timer();
    // A device that had not answered the folder tree or the file list has
    // answered since: they show what it said.
    void devicesAnswered();

    // engine::ScanOutput: the lines and records go to Side B and the table.
    void addListLine(const QString& line) override;
    void fileLinesLaidOut(const engine::FileLineLayout& layout) override;
    void addFileLine(const QString& line) override;
    void fileEntry(const QString& folderPath, const QByteArray& hostFolder,
                   const dosfs::DirEntry& entry) override;
    void folderEntered(const QString& path) override;
    void folderUnreadable(const QString& path, const QByteArray& hostPath, int error) override;
    // engine::ScanWindow
    int windowWidth() const override;
    std::optional<QString> outputTypeText() const override;
    std::optional<QString> extensionText() const override;
    QStringList driveEntries() const override;
    qint64 now() const override;
    void showFolderPath(const QString& path) override;
    void setFoundCount(const QString& text) override;
    void setSecondCounter(const QString& text) override;
    void setBusyPointer(bool busy) override;
    void showWindow() override;
    void scanFinished() override;
    void enableStop() override;
    void letEventsRun() override;
    void keepResponsive() override;
    bool interactive() const override { return true; }

  private:
    void wire();
    void wireHints();
    // Puts a hint in the hint box and starts its hide timer.
    void showHint(int top, int left, int height, const QString& text);
    // A hint of a button at the bottom, when hints are on.
    void buttonHint(int top, int left, int height, const QString& text);
    void sideAHint();
    void sideBHint();
    // A scan of the folder shown; or, given `from`, the listing of a saved
    // scan.
    void runScan(engine::ScanMode mode, engine::SnapshotTree* from = nullptr);
    // The work file opened in the folder to scan; false, with the reason
    // shown and the window idle again, when there is none to write.
    bool openWorkFile();
    // Puts the window back into the idle state after a scan (or one that
    // could not start); the error number of showing the scan root again.
    int returnToIdle();
    void showScanError(int error);
    // What the listing on screen lacks, in the message box: a stop, folders
    // that could not be read, folders below the deepest level; and a scan
    // root that did not answer afterwards (`rootError`).
    void selectSideARow(const QString& folder, const QByteArray& relative);
    // A saved scan shown (`from`) is named first.
    void showScanEnd(int rootError, const engine::SnapshotTree* from = nullptr);
    void setCommandsEnabled(bool on);
    void showNearestFolder(QString folder);
    void keepPainting();
    // Column `col` of a family: 0 header buttons, 1 lists, 2 captions.
    forms::Control& column(int family, int col) const;
    void setColumn(int family, int col, int left, int width);

    // Side B's lines of the last scan, its file lines views over the table.
    std::shared_ptr<SideBRows> sideB_;
    QElapsedTimer paintClock_;
    QElapsedTimer pathClock_;
    QElapsedTimer pollClock_;
    unsigned paintCalls_ = 0;
    // A splitter drag under way, and where its press went down.
    bool dragActive_ = false;
    int dragStartX_ = 0;
    // The last scan's table is not made into a graph yet.
    bool graphPending_ = false;
    std::shared_ptr<const treemap::Tree> lastGraph_;
    bool scanEnded_ = false;  // the scan ran to its end
    // While a saved scan is listed: the time and drives its banner names.
    const engine::SnapshotHeader* shownSnapshot_ = nullptr;
    // The press of the stop/exit button under way began while it read 中断:
    // it never ends the program, even when the scan has ended by its release.
    bool pressBeganOnStop_ = false;
};

}  // namespace window
