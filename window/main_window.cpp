#include "window/main_window.h"

#include "shell/messages.h"

namespace window {

MainWindow::MainWindow(shell::Form1& f) : form(f), scan(*this, f.fs, f.files) {
    wire();
}

void MainWindow::wire() {
    shell::Form1& f = form;
    f.Command3.Click = [this] { Command3_Click(); };
    f.Command1.Click = [this] { Command1_Click(); };
    f.Command6.Click = [this] { Command6_Click(); };
    f.Command5.Click = [this] { Command5_Click(); };
    f.Command5.MouseMove = [this](int, int, int, int) { Command5_MouseMove(); };
    f.Command5.MouseDown = [this](int button, int, int, int) {
        if (button == forms::kLeftButton) Command5_PressBegins();
    };
    f.Command5.MouseUp = [this](int button, int, int x, int y) {
        if (button == forms::kLeftButton) Command5_MouseUp(x, y);
    };
    f.Command5.KeyDown = [this](int key, int) {
        if (key == forms::keys::kSpace) Command5_PressBegins();
    };
    f.MouseMove = [this](int, int, int, int) { Form_MouseMove(); };
    f.Combo1.Click = [this] { Combo1_Click(); };
    f.Combo1.Change = [this] { Combo1_Change(); };
    f.Combo2.Click = [this] { Combo2_Click(); };
    f.Combo2.Change = [this] { Combo2_Change(); };
    f.Drive1.Change = [this] { Drive1_Change(); };
    f.Dir1.Change = [this] { Dir1_Change(); };
    f.Dir1.Click = [this] { Dir1_Click(); };
    f.Dir1.LostFocus = [this] { Dir1_LostFocus(); };
    // Over Side A's frame and its captions the pointer is the arrow.
    const auto arrow = [this](int, int, int, int) {
        form.setMousePointer(forms::MousePointer::Arrow);
    };
    f.Frame1.MouseMove = arrow;
    for (int i = 0; i < 3; ++i) {
        forms::ListBox& l = *f.List2[i];
        l.Click = [this, i] { List2_Click(i); };
        l.DblClick = [this, i] { List2_DblClick(i); };
        l.GotFocus = [this, i] { List2_GotFocus(i); };
        l.KeyDown = [this, i](int key, int) { List2_KeyDown(i, key); };
        l.LostFocus = [this, i] { List2_LostFocus(i); };
        l.MouseDown = [this, i](int, int, int, int) { List2_MouseDown(i); };
        l.MouseMove = [this, i](int, int, int, int) { List2_MouseMove(i); };
        f.Text9[i]->MouseMove = arrow;
    }
    for (int k = 0; k < 2; ++k) {
        forms::Label& s = *f.Label10[k];
        s.MouseDown = [this, k](int, int, int x, int y) { Label10_MouseDown(k, x, y); };
        s.MouseMove = [this, k](int, int, int x, int y) { Label10_MouseMove(k, x, y); };
        s.MouseUp = [this, k](int, int, int, int) { Label10_MouseUp(k); };
    }
    f.List1.MouseDown = [this](int button, int, int, int) { List1_MouseDown(button); };
    f.List1.MouseMove = [this](int, int, int, int) { List1_MouseMove(); };
    f.List1.KeyDown = [this](int key, int shift) { List1_KeyDown(key, shift); };
    f.KeyDown = [this](int& key, int shift) { Form_KeyDown(key, shift); };
    wireHints();
    shell::wireMessageBoxes(f);
    f.Timer3.Tick = [this] { Timer3_Timer(); };
    // Closing the window stops a running scan at its next poll point.
    f.Unload = [this] {
        scan.settings.abortRequested = true;
        form.Form_Unload();
    };
}

}  // namespace window
