// Hover hints and the comment switch, the help panel, and the message boxes
// that hide themselves when touched.

#include "platform/forms/shown_text.h"
#include "window/main_window.h"

#include "shell/messages.h"

#include <cstdint>

namespace window {

namespace {

const QString kHelp =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan",
                                     "1. 画面上部表示域（Ａ面）の更新日時の内容をダブル\r\n"
                                     "   クリックすると表示領域が拡大される。　　　　\r\n"
                                     "　　　（切替え：トグル）\r\n"
                                     "2. Ａ面は常にディレクトリ＋ファイルの内容を表示。\r\n"
                                     "3. Ａ面の項目の表示幅は拡大、縮小可能。   \r\n"
                                     "4. マウスの左ボタンを押したままドラッグした後、　\r\n"
                                     " 　右ボタンで処理結果がクリックボードにコピーされる。\r\n"
                                     "   SHIFTキー利用も可。（対象は画面下部表示域（Ｂ面）\r\n"
                                     "　 のみ）  <copy/paste機能>\r\n"
                                     "5. 出力拡張子はキーボード入力も可能。\r\n"
                                     "6. 画面の拡大はマウスで可能。\r\n"
                                     "7. OPTIONでのファイル出力は固定ファイル名\r\n"
                                     "   ( C:\\Tolan.txt  or  A:\\Tolan.tx ) \r\n"
                                     "この領域をマウスでクリックするとこのWindowは閉じます。 \r\n"
                                     "         \r\n"));

}  // namespace

void MainWindow::wireHints() {
    shell::Form1& f = form;
    f.Text5.setText(forms::shown(kHelp));
    f.Command1.MouseMove = [this](int, int, int, int) {
        buttonHint(7140, 3570, 405, shell::kHintFiles);
    };
    f.Command3.MouseMove = [this](int, int, int, int) {
        buttonHint(6960, 2310, 585, shell::kHintTotals);
    };
    f.Command6.MouseMove = [this](int, int, int, int) {
        buttonHint(6960, 585, 585, shell::kHintFolders);
    };
    f.Command4.MouseMove = [this](int, int, int, int) {
        buttonHint(6960, 5190, 585, shell::kHintSaveAs);
    };
    f.Command9.MouseMove = [this](int, int, int, int) { Command9_MouseMove(); };
    f.Label4.MouseMove = [this](int, int, int, int) {
        if (!form.state.hintsOff) showHint(30, 5550, 200, shell::kHintExtension);
    };
    f.Command9.Click = [this] { Command9_Click(); };
    f.Command7.Click = [this] { Command7_Click(); };
    f.Text5.Click = [this] { form.Text5.setVisible(false); };
    f.Text5.MouseMove = [this](int, int, int, int) {
        form.Timer1.setTimerEnabled(false);
        form.Text5.setVisible(true);
        form.Timer2.setTimerEnabled(true);
    };
    f.Text11.Click = [this] { form.Text11.setVisible(false); };
    f.Text11.MouseDown = [this](int, int, int, int) { form.Text11.setVisible(false); };
    f.Label6.DblClick = [this] { form.Label7.setVisible(!form.Label7.visible()); };
}

void MainWindow::showHint(int top, int left, int height, const QString& text) {
    forms::TextBox& box = form.Text11;
    box.setGeometry(left, top, 1740, height);
    form.Timer4.restart();
    // The text before the box shows, so a screen reader reads this one.
    box.setText(forms::shown(text));
    box.setVisible(true);
}

void MainWindow::buttonHint(int top, int left, int height, const QString& text) {
    if (form.state.hintsOff) return;
    // The buttons' hints follow them down a taller window; the sum is a
    // 16-bit value, as the window keeps its positions.
    showHint(static_cast<int16_t>(form.layout.heightExtra + top), left, height, text);
}

void MainWindow::Command9_MouseMove() {
    showHint(static_cast<int16_t>(form.layout.heightExtra + 7140), 7380, 405,
             shell::commentHint(form.state.hintsOff));
}

void MainWindow::Command9_Click() {
    shell::MainState& st = form.state;
    st.hintsOff = !st.hintsOff;
    form.Command9.setText(st.hintsOff ? QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "cmnt ON "))
                                      : QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "cmnt OFF")));
    if (!st.hintsOff) st.sideBHintShown = false;
    form.Command9.setAccessibleDescription(shell::commentHint(st.hintsOff));
}

void MainWindow::Command7_Click() {
    form.Text5.setVisible(!form.Text5.visible());
    form.state.sideBHintShown = true;
}

void MainWindow::Form_KeyDown(int& key, int shift) {
    forms::TextBox& help = form.Text5;
    if (key == forms::keys::kF1 && shift == 0) {
        if (!help.visible()) Command7_Click();
        help.setFocus();  // read and scrolled from the keyboard
        key = 0;
    } else if (key == forms::keys::kEscape && help.visible()) {
        help.setVisible(false);  // the focus goes back where it was
        key = 0;
    }
}

void MainWindow::sideBHint() {
    if (form.state.hintsOff || form.state.sideBHintShown) return;
    form.Text11.setText(QString());
    showHint(3435, 7140, 585, shell::kHintSideB);
    form.state.sideBHintShown = true;
}

void MainWindow::sideAHint() {
    if (form.state.hintsOff) return;
    showHint(1200, 5550, 585, shell::kHintSideA);
    form.state.sideBHintShown = false;
}

}  // namespace window
