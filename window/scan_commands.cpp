// The three scan commands, the stop/exit button and the option boxes.

#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_system.h"
#include "platform/dosfs/numbered_files.h"
#include "platform/forms/application.h"
#include "platform/forms/shown_text.h"
#include "shell/messages.h"
#include "window/main_window.h"
#include "window/side_a_rows.h"
#include "window/side_b_rows.h"

#include "engine/renderings.h"
#include "engine/snapshot_tree.h"
#include "platform/dosfs/host_name.h"

#include <QDateTime>

#include <utility>

namespace window {

using engine::ListType;
using shell::kIdleCaption;
using shell::kRunningCaption;
using shell::RunState;

void MainWindow::runScan(engine::ScanMode mode, engine::SnapshotTree* from) {
    shell::Form1& f = form;
    shell::MainState& st = f.state;
    f.Timer3.setTimerEnabled(false);
    f.Text10.setVisible(false);
    f.Text11.setVisible(false);
    setCommandsEnabled(false);
    f.Command5.setText(kRunningCaption);
    st.run = RunState::Running;
    scan.settings.mode = mode;
    // The last scan's graph is made from its table: one not made yet goes
    // with it. Side B lets go of the old lines before the table is emptied,
    // so no row is ever made from a record that is gone.
    sideB_ = std::make_shared<SideBRows>(st.found);
    f.List1.showRows(sideB_);
    st.found->start(QString());
    if (graphPending_) lastGraph_.reset();
    graphPending_ = false;
    for (int k = 0; k < 3; ++k) f.List2[k]->showRows(std::make_shared<SideAColumn>(st.found, k));
    f.Label5.setText(QString());
    scan.listing.setTypeChanged(false);
    st.savedBrowsePath = st.browsePath;
    f.setBusy(true);
    f.Text2.setVisible(true);
    f.Text2.setText(st.savedBrowsePath);

    f.normaliseOptionBoxes();
    // Not browsePath: a folder clicked in the tree that had gone is not opened.
    st.scanRoot = f.File1.path();
    if (!openWorkFile()) return;
    scan.listing.setTypeChanged(false);
    if (scanStarting) scanStarting();
    f.app().letEventsRun();

    scan.settings.scanRoot = from ? from->header().folder : st.scanRoot;
    scan.settings.listType = st.listType;
    scan.settings.extFilter = st.extFilter;
    scan.settings.exclusions = st.exclusions;
    paintClock_.start();
    scanEnded_ = false;
    graphPending_ = true;
    st.found->start(scan.settings.scanRoot);
    if (from) {
        shownSnapshot_ = &from->header();
        scan.ListSnapshot(*from);
        shownSnapshot_ = nullptr;
    } else {
        scan.ScanTree();
    }
    st.found->finish(scanEnded_);
    const int rootError = returnToIdle();
    // The disabled button lost the focus to the stop button, whose Enter
    // would now end the program: the focus goes back to the command.
    (mode == engine::ScanMode::Totals  ? f.Command3
     : mode == engine::ScanMode::Plain ? f.Command1
                                       : f.Command6)
        .setFocus();
    // The listing on screen is whole, but the work file is not: say so, and
    // let no save copy the listing of an earlier scan in its place.
    if (scan.workFileError) {
        dosfs::deleteFile(f.fs, st.workFilePath);
        showScanError(scan.workFileError);
    } else {
        showScanEnd(rootError, from);
    }
    if (scanEnded) scanEnded();
}

bool MainWindow::showSnapshot(const QByteArray& hostPath, QString& message,
                              const QByteArray& select) {
    engine::SnapshotTree tree(hostPath);
    // Read whole first: a damaged snapshot leaves the listing shown as it is.
    if (!tree.start(message) || !tree.checkWhole(message)) return false;
    runScan(scan.settings.mode, &tree);
    if (!select.isEmpty()) selectSideARow(tree.header().folder, select);
    return true;
}

// Side A's row of a file, told by its full path as the row shows it.
void MainWindow::selectSideARow(const QString& folder, const QByteArray& relative) {
    QString path = folder;
    if (path.endsWith(u'\\')) path.chop(1);
    for (const QByteArray& part : relative.split('/')) path += u'\\' + dosfs::decodeHostName(part);
    engine::trimSpacesInPlace(path);  // as the row's text is made
    forms::ListBox& names = *form.List2[0];
    for (int i = 0; i < names.listCount(); ++i) {
        if (names.list(i) != path) continue;
        names.clearSelection();
        names.setSelected(i, true);
        names.setListIndexFromUser(i);
        names.setTopIndex(qMax(0, i - 3));
        names.setFocus();
        return;
    }
}

void MainWindow::showScanEnd(int rootError, const engine::SnapshotTree* from) {
    using engine::Module1;
    QStringList lines;
    if (from) {
        const qint64 time = from->header().time;
        lines.append(forms::shown(shell::kSnapshotShown)
                         .arg(from->header().folder,
                              time == dosfs::kNoTime ? QStringLiteral("?")
                                                     : QDateTime::fromSecsSinceEpoch(time).toString(
                                                           QStringLiteral("yyyy/MM/dd hh:mm:ss"))));
        if (from->older()) lines.append(forms::shown(shell::kOlderSnapshot));
        if (scan.ended == Module1::End::Damaged)
            lines.append(forms::shown(shell::kSnapshotDamaged).arg(from->fault()));
    }
    if (scan.ended == Module1::End::Stopped) lines.append(forms::shown(shell::kScanStopped));
    if (scan.ended == Module1::End::ReadsLost) lines.append(forms::shown(shell::kReadsLost));
    if (scan.ended == Module1::End::RootLeftOut)
        lines.append(forms::shown(shell::kRootLeftOut)
                         .arg(scan.settings.exclusions.texts().value(scan.rootLeftOutBy)));
    else if (!scan.settings.exclusions.empty())
        lines.append(forms::shown(shell::kEntriesLeftOut).arg(scan.leftOut.entries()));
    if (scan.unreadableFolders > 0)
        lines.append(forms::shown(shell::kUnreadableFolders).arg(scan.unreadableFolders));
    // The listing stops eight levels down: say what it left out.
    if (scan.foldersLeftOut > 0)
        lines.append(forms::shown(shell::kFoldersLeftOut).arg(scan.foldersLeftOut));
    // A drive that stopped answering is not waited for again: say so.
    if (rootError == dosfs::kNotAnswering) lines.append(forms::shown(shell::kNoAnswer));
    if (lines.isEmpty()) return;
    if (lines.size() == 1 && rootError == dosfs::kNotAnswering) return showScanError(rootError);
    const QString text = lines.join(QStringLiteral("\r\n"));
    shell::showMessage(form, shell::listingStatePlace(int(text.count(u'\n')) + 1), text);
}

bool MainWindow::openWorkFile() {
    shell::MainState& st = form.state;
    if (st.workFilePath.isEmpty()) {
        // No drive could hold the work file (see Form_Load): say so.
        shell::showMessage(form, shell::kOneLine, shell::kNoWorkFolder);
        if (returnToIdle() == dosfs::kNotAnswering) showScanError(dosfs::kNotAnswering);
        return false;
    }
    int error = form.fs.changeFolder(st.scanRoot);
    if (!error)
        error = form.files.open(engine::kWorkFile, st.workFilePath, dosfs::OpenMode::Replace);
    if (!error) return true;
    // The drive went away or the work file cannot be written: say so and do
    // not scan.
    showScanError(error);
    if (returnToIdle() == dosfs::kNotAnswering) showScanError(dosfs::kNotAnswering);
    showNearestFolder(st.scanRoot);
    return false;
}

int MainWindow::returnToIdle() {
    shell::Form1& f = form;
    shell::MainState& st = f.state;
    f.fs.changeFolder(st.scanRoot);
    f.Text2.setVisible(true);
    setCommandsEnabled(true);
    // A stopped scan's work file is put in place here.
    if (const int error = f.files.close(engine::kWorkFile); error && !scan.workFileError)
        scan.workFileError = error;
    f.setBusy(false);
    f.fs.changeFolder(st.scanRoot);
    const int rootError = f.Dir1.setPath(st.scanRoot);
    f.Text2.setText(st.scanRoot);
    scan.settings.abortRequested = false;
    f.Command5.setText(kIdleCaption);
    st.run = RunState::Idle;
    return rootError;
}

// A folder that went away leaves the tree and the file list on the nearest
// folder above it that is still there, read afresh.
void MainWindow::showNearestFolder(QString folder) {
    while (form.Dir1.setPath(folder) != 0) {
        const QString up = dosfs::parentFolder(folder);
        if (up.isEmpty() || up == folder) return;
        folder = up;
    }
    form.File1.setPath(form.Dir1.path());
}

// The three scan commands and the save, which a running scan holds back.
void MainWindow::setCommandsEnabled(bool on) {
    for (forms::CommandButton* c : {&form.Command1, &form.Command3, &form.Command4, &form.Command6})
        c->setEnabled(on);
}

void MainWindow::showScanError(int error) {
    shell::showMessage(form, shell::kOneLine, shell::errorText(shell::Failed::Folder, error));
}

void MainWindow::Command5_Click() {
    shell::Form1& f = form;
    const bool beganOnStop = std::exchange(pressBeganOnStop_, false);
    if (f.state.run == RunState::Running) {
        f.Command5.setEnabled(false);
        scan.settings.abortRequested = true;
        f.state.run = RunState::Idle;
        f.setMousePointer(forms::MousePointer::Arrow);
        return;
    }
    // Pressed to stop a scan that ended before the release: the button now
    // reads 終了, but the user asked for a stop, not for the end.
    if (beganOnStop) return;
    f.endProgram();
}

void MainWindow::Command5_PressBegins() {
    pressBeganOnStop_ = form.Command5.text() == kRunningCaption;
}

void MainWindow::Command5_MouseUp(int x, int y) {
    // Released off the button: no click follows, so no press is under way.
    const forms::CommandButton& b = form.Command5;
    if (x < 0 || y < 0 || x >= b.width() || y >= b.height()) pressBeganOnStop_ = false;
}

void MainWindow::Command5_MouseMove() {
    if (form.state.run == RunState::Running) form.setMousePointer(forms::MousePointer::Arrow);
}

void MainWindow::Form_MouseMove() {
    form.Text11.setVisible(false);
    const bool busy = form.state.run == RunState::Running && !scan.settings.abortRequested;
    form.setMousePointer(busy ? forms::MousePointer::Hourglass : forms::MousePointer::Arrow);
}

void MainWindow::Combo1_Click() {
    if (form.Combo1.text() == QLatin1String("User")) {
        form.Combo1.setText(QString());
        form.Combo1.setFocus();
    }
    form.state.extFilter = form.Combo1.text();
}

void MainWindow::Combo1_Change() {
    form.state.extFilter = form.Combo1.text();
}

void MainWindow::Combo2_Change() {
    const std::optional<ListType> type = engine::listTypeOf(form.Combo2.text());
    // Typed text that names no type gives way to the full-path type.
    if (!type) form.Combo2.setText(engine::kFullPathsCaption);
    form.state.listType = type.value_or(ListType::FullPaths);
}

void MainWindow::Combo2_Click() {
    const ListType old = form.state.listType;
    form.state.listType = engine::listTypeOf(form.Combo2.text()).value_or(old);
    scan.listing.setTypeChanged(form.state.listType != old);
}

}  // namespace window
