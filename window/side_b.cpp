// Side B: a press in the result listing empties the clipboard; the right
// button, or a copy key, copies the first run of selected lines to it.

#include "platform/forms/application.h"
#include "shell/messages.h"
#include "window/main_window.h"

namespace window {

namespace {

constexpr int kMostLinesCopied = 2000;

}  // namespace

void MainWindow::List1_MouseDown(int button) {
    shell::Form1& f = form;
    f.Timer3.setTimerEnabled(false);
    f.Text10.setVisible(false);
    f.app().clipboardClear();
    if (button != forms::kRightButton) {
        f.List2[2]->clearSelection();
        return;
    }
    shell::showCopyState(f, shell::kCopying);
    f.app().letEventsRun();

    // Only the first contiguous run of selected lines, from the top.
    const forms::ListBox::Run run = f.List1.firstSelectedRun();
    if (run.end - run.first > kMostLinesCopied) {
        f.Text3.setVisible(false);
        shell::showMessage(f, shell::kTooMuchDataPlace, shell::kTooMuchData, shell::Hide::OnEvent);
        return;
    }
    QString copy;
    for (int i = run.first; i < run.end; ++i) {
        copy += f.List1.list(i);
        copy += QStringLiteral("\r\n");
    }
    f.app().clipboardSetText(copy);
    shell::showCopyState(f, shell::kCopied);
}

void MainWindow::List1_KeyDown(int key, int shift) {
    using namespace forms::keys;
    const int mods = shift & (forms::kShiftMask | forms::kCtrlMask | forms::kAltMask);
    const bool copies = (mods == forms::kCtrlMask && (key == kC || key == kInsert)) ||
                        (mods == forms::kShiftMask && key == kF10) || key == kMenu;
    if (copies) List1_MouseDown(forms::kRightButton);
}

void MainWindow::List1_MouseMove() {
    sideBHint();
    form.Timer3.setTimerEnabled(false);
}

}  // namespace window
