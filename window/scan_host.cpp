// The main window as the tree scan's host.

#include "platform/forms/application.h"
#include "window/main_window.h"
#include "window/side_b_rows.h"

#include <ctime>

namespace window {

int MainWindow::windowWidth() const {
    return form.width();
}
std::optional<QString> MainWindow::outputTypeText() const {
    return form.Combo2.text();
}
std::optional<QString> MainWindow::extensionText() const {
    return form.Combo1.text();
}
QStringList MainWindow::driveEntries() const {
    if (shownSnapshot_ && shownSnapshot_->format != 0) return shownSnapshot_->drives;
    return form.Drive1.entries();
}
qint64 MainWindow::now() const {
    if (shownSnapshot_ && shownSnapshot_->time != dosfs::kNoTime) return shownSnapshot_->time;
    return static_cast<qint64>(std::time(nullptr));
}

void MainWindow::addListLine(const QString& line) {
    sideB_->addLine(line);
    form.List1.rowsAppended();
    keepPainting();
}

void MainWindow::fileLinesLaidOut(const engine::FileLineLayout& layout) {
    sideB_->setLayout(layout);
}

void MainWindow::addFileLine(const QString& line) {
    sideB_->addFileLine(line);
    form.List1.rowsAppended();
    keepPainting();
}

void MainWindow::fileEntry(const QString&, const QByteArray&, const dosfs::DirEntry& entry) {
    form.state.found->addFile(entry);
    for (forms::ListBox* l : form.List2) l->rowsAppended();
    keepPainting();
}

void MainWindow::folderEntered(const QString& path) {
    form.state.found->enterFolder(path);
    keepPainting();
}

void MainWindow::folderUnreadable(const QString&, const QByteArray&, int) {
    form.state.found->folderUnreadable();
}

void MainWindow::showFolderPath(const QString& path) {
    // Shown at most every 50 ms: laying out the box's text again for each of
    // thousands of folders a second would slow the scan, and no eye follows it.
    if (pathClock_.isValid() && pathClock_.elapsed() < 50) return;
    pathClock_.start();
    form.Text2.setText(path);
}
void MainWindow::setFoundCount(const QString& text) {
    form.Label5.setText(text);
}
void MainWindow::setSecondCounter(const QString& text) {
    form.Label7.setText(text);
}

void MainWindow::setBusyPointer(bool busy) {
    form.setMousePointer(busy ? forms::MousePointer::Hourglass : forms::MousePointer::Default);
}

void MainWindow::showWindow() {
    form.show();
}

void MainWindow::scanFinished() {
    scanEnded_ = true;
    form.Command3.setEnabled(true);
    form.Command4.setEnabled(true);
    form.Text2.setText(form.state.savedBrowsePath);
    form.Dir1.setPath(form.state.savedBrowsePath);
}

void MainWindow::enableStop() {
    form.Command5.setEnabled(true);
}

void MainWindow::letEventsRun() {
    form.app().letEventsRun();
}

void MainWindow::keepResponsive() {
    // Deep folders and slow reads have no poll point of their own: events
    // run here too, often enough that the window repaints and a stop is seen
    // within a tenth of a second, rarely enough to cost the scan nothing.
    if (pollClock_.isValid() && pollClock_.elapsed() < 50) return;
    pollClock_.start();
    form.app().letEventsRun();
}

void MainWindow::keepPainting() {
    // Between poll points the window still repaints (user input waits), so
    // a large folder shows its lines arriving; the clock is read rarely.
    if ((++paintCalls_ & 255) != 0 || paintClock_.elapsed() < 100) return;
    paintClock_.restart();
    form.app().letPaintRun();
}

}  // namespace window
