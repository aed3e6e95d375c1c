// Side B: a press in the result listing empties the clipboard; the right
// button copies the first run of selected lines to it.

#include "platform/forms/application.h"
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
    f.Timer1.setTimerEnabled(true);
    f.Text3.setLeft(6060);
    f.Text3.setText(QStringLiteral("クリップボードにコピー中"));
    f.Text3.setVisible(true);
    f.app().letEventsRun();

    // Only the first contiguous run of selected lines, from the top.
    QString copy;
    int count = 0;
    bool inRun = false;
    for (int i = 0; i < f.List1.listCount(); ++i) {
        if (!f.List1.selected(i)) {
            if (inRun) break;
            continue;
        }
        inRun = true;
        if (++count > kMostLinesCopied) break;
        copy += f.List1.list(i);
        copy += QStringLiteral("\r\n");
    }
    if (count > kMostLinesCopied) {
        f.Text3.setVisible(false);
        f.Text10.setGeometry(f.Text10.left(), 3180, 4110, 525);
        f.Text10.setText(
            QStringLiteral("データが多すぎます。ファイル出力コマンドで処理して下さい"));
        f.Text10.setVisible(true);
        return;
    }
    f.app().clipboardSetText(copy);
    f.Text3.setLeft(6060);
    f.Text3.setText(QStringLiteral("クリップボードにコピーしました"));
    f.Text3.setVisible(true);
}

void MainWindow::List1_MouseMove() {
    sideBHint();
    form.Timer3.setTimerEnabled(false);
}

}  // namespace window
