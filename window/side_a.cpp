// Side A: the drive and the folder to scan, the three file columns that
// scroll together, the enlarge toggle and the splitters between the columns.

#include "platform/dosfs/errors.h"
#include "shell/messages.h"
#include "window/main_window.h"

#include <cmath>

namespace window {
namespace {

// Rounding of mouse positions: halves to even.
int roundHalfEven(int v) {
    return static_cast<int>(std::nearbyint(static_cast<double>(v)));
}

constexpr int kNormalFrameHeight = 2130;
// An enlarged frame ends this far above the line under Side B; the lists
// leave room for the column headers and captions in the frame.
constexpr int kEnlargedFrameGap = 800;
constexpr int kHeadersAndCaptions = 450;
// A splitter drag keeps the first column at least kNarrowestFirst wide and
// the second at least kNarrowestSecond; the second's width stays
// kSecondShortOfFrame and the third's start kThirdShortOfFrame short of the
// frame's width.
constexpr int kNarrowestFirst = 200;
constexpr int kNarrowestSecond = 400;
constexpr int kThirdShortOfFrame = 285;
constexpr int kSecondShortOfFrame = 1785;
// A splitter stands this far left of the column it starts.
constexpr int kSplitterOffset = 105;

}  // namespace

void MainWindow::Drive1_Change() {
    shell::Form1& f = form;
    f.Label7.setText(QString());
    f.Text1.setText(QString());
    const QString drive = f.Drive1.drive();
    const int error = f.Dir1.setPath(drive.left(2));
    if (error == 0) {
        f.state.scanRoot = drive;
        f.Text1.setText(f.state.scanRoot.left(2).toUpper() + u'\\');
        return;
    }
    shell::showDriveError(f, error);
    // Back to the drive of the folder still shown; that runs this handler
    // again, for the old drive.
    f.Drive1.setDrive(f.Dir1.path().left(2));
    f.state.scanRoot = f.Drive1.drive();
}

void MainWindow::Dir1_Change() {
    // The tree's path is not re-read from the drive's current folder: the
    // folder the user opened stays open.
    form.File1.setPath(form.Dir1.path());
    form.state.browsePath = form.File1.path();
    form.Text2.setVisible(true);
    form.Text2.setText(form.state.browsePath);
}

void MainWindow::devicesAnswered() {
    // A scan reads on its own; it ends by showing its folder afresh.
    if (form.state.run == shell::RunState::Running) return;
    form.Dir1.setPath(form.Dir1.path());
    form.File1.setPath(form.File1.path());
}

void MainWindow::Dir1_Click() {
    shell::Form1& f = form;
    const QString clicked = f.Dir1.list(f.Dir1.listIndex());
    if (clicked.isEmpty()) return;
    f.state.browsePath = clicked;
    f.Text2.setText(clicked);
    if (f.Dir1.setPath(clicked) == dosfs::kNotAnswering)
        shell::showMessage(f, shell::kOneLine, shell::kNoAnswer);
    f.File1.setPath(f.state.browsePath);
    f.Label7.setText(QString());
    f.Text12.setVisible(false);
}

// Leaving the tree with its highlight on another folder opens that folder,
// as a click on it would: the next scan lists the folder the tree shows.
void MainWindow::Dir1_LostFocus() {
    if (form.Dir1.listIndex() != -1) Dir1_Click();
}

void MainWindow::Timer3_Timer() {
    const int top = form.List2[2]->topIndex();
    form.List2[0]->setTopIndex(top);
    form.List2[1]->setTopIndex(top);
}

void MainWindow::List2_Click(int i) {
    if (i == 2) form.Timer3.setTimerEnabled(true);
    form.Text11.setVisible(false);
}

void MainWindow::List2_GotFocus(int i) {
    if (i == 2) form.Timer3.setTimerEnabled(true);
}

void MainWindow::List2_KeyDown(int i, int key) {
    form.setMousePointer(forms::MousePointer::Arrow);
    const int top = form.List2[i]->topIndex();  // before the key moves it
    for (int j = 0; j < 3; ++j)
        if (j != i) form.List2[j]->setTopIndex(top);
    form.Timer3.setTimerEnabled(true);
    // Enter enlarges Side A and gives Side B back, as a double-click does.
    if (key == forms::keys::kEnter) List2_DblClick(i);
}

void MainWindow::List2_LostFocus(int) {
    form.Timer1.setTimerEnabled(false);
}

void MainWindow::List2_MouseDown(int) {
    form.List1.clearSelection();
}

void MainWindow::List2_MouseMove(int i) {
    form.setMousePointer(forms::MousePointer::Arrow);
    form.Text10.setVisible(false);
    if (i == 2) {
        Timer3_Timer();
        form.Timer3.setTimerEnabled(true);
    }
    sideAHint();
}

void MainWindow::List2_DblClick(int) {
    shell::Form1& f = form;
    f.Timer3.setTimerEnabled(true);
    if (!f.layout.sideAEnlarged) {
        f.List1.setVisible(false);
        f.Line1_2.setVisible(false);
        f.layout.sideAEnlarged = true;
        f.Frame1.setHeight(f.Line1_1.y1() - kEnlargedFrameGap);
    } else {
        f.layout.sideAEnlarged = false;
        f.List1.setVisible(true);
        f.Line1_2.setVisible(true);
        f.Frame1.setHeight(kNormalFrameHeight);
    }
    for (int i = 2; i >= 0; --i) f.List2[i]->setHeight(f.Frame1.height() - kHeadersAndCaptions);
    f.Text11.setVisible(false);
}

void MainWindow::Label10_MouseDown(int, int x, int) {
    // A resize keeps the columns as they stood before it; the drag starts
    // from where they stand now.
    form.refreshColumnGeometry();
    dragStartX_ = roundHalfEven(x);
    dragActive_ = true;
}

forms::Control& MainWindow::column(int family, int col) const {
    if (family == 0) return *form.Command8[col];
    if (family == 1) return *form.List2[col];
    return *form.Text9[col];
}

void MainWindow::setColumn(int family, int col, int left, int width) {
    column(family, col).setLeft(left);
    column(family, col).setWidth(width);
}

void MainWindow::Label10_MouseMove(int k, int x, int) {
    shell::Form1& f = form;
    f.Label10[k]->setMousePointer(forms::MousePointer::SizeWE);
    const int dx = static_cast<int16_t>(x - dragStartX_);
    const int W = f.Frame1.width();
    const shell::ColumnGeometry& g = f.layout.columns;
    const int c0w = g.headers.width[0], c1w = g.headers.width[1];
    const int c1x = g.headers.left[1], c2x = g.headers.left[2];
    if (!(c1w + dx <= W - kSecondShortOfFrame && c0w + dx >= kNarrowestFirst)) return;
    if (!dragActive_) return;
    const shell::ColumnFamily* families[3] = {&g.headers, &g.lists, &g.captions};
    if (k == 0 && c2x + dx <= W - kThirdShortOfFrame) {
        for (int fam = 0; fam < 3; ++fam) {
            const shell::ColumnFamily& s = *families[fam];
            setColumn(fam, 0, s.left[0], s.width[0] + dx);
            setColumn(fam, 1, s.left[1] + dx, s.width[1]);
            setColumn(fam, 2, s.left[2] + dx, s.width[2] - dx);
        }
    }
    if (k == 1 && c2x + dx <= W - kThirdShortOfFrame && c2x + dx >= c1x + kNarrowestSecond) {
        for (int fam = 0; fam < 3; ++fam) {
            const shell::ColumnFamily& s = *families[fam];
            setColumn(fam, 1, s.left[1], s.width[1] + dx);
            setColumn(fam, 2, s.left[2] + dx, s.width[2] - dx);
        }
    }
    f.Label10[0]->setLeft(c1x - kSplitterOffset);
    f.Label10[1]->setLeft(c2x - kSplitterOffset);
}

void MainWindow::Label10_MouseUp(int k) {
    dragActive_ = false;
    shell::ColumnGeometry& g = form.layout.columns;
    shell::ColumnFamily* families[3] = {&g.headers, &g.lists, &g.captions};
    for (int fam = 0; fam < 3; ++fam) {
        shell::ColumnFamily& s = *families[fam];
        if (k == 0) {
            s.width[0] = column(fam, 0).width();
            s.left[1] = column(fam, 1).left();
        }
        s.width[1] = column(fam, 1).width();
        s.left[2] = column(fam, 2).left();
        s.width[2] = column(fam, 2).width();
    }
    if (k == 0) form.Label10[0]->setLeft(g.headers.left[1] - kSplitterOffset);
    form.Label10[1]->setLeft(g.headers.left[2] - kSplitterOffset);
}

}  // namespace window
