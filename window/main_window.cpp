#include "window/main_window.h"

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
    f.MouseMove = [this](int, int, int, int) { Form_MouseMove(); };
    f.Combo1.Click = [this] { Combo1_Click(); };
    f.Combo1.Change = [this] { Combo1_Change(); };
    f.Combo2.Click = [this] { Combo2_Click(); };
    f.Combo2.Change = [this] { Combo2_Change(); };
    f.Drive1.Change = [this] { Drive1_Change(); };
    f.Dir1.Change = [this] { Dir1_Change(); };
    f.Dir1.Click = [this] { Dir1_Click(); };
    for (int i = 0; i < 3; ++i) {
        forms::ListBox& l = *f.List2[i];
        l.Click = [this, i] { List2_Click(i); };
        l.DblClick = [this, i] { List2_DblClick(i); };
        l.GotFocus = [this, i] { List2_GotFocus(i); };
        l.KeyDown = [this, i](int, int) { List2_KeyDown(i); };
        l.LostFocus = [this, i] { List2_LostFocus(i); };
        l.MouseDown = [this, i](int, int, int, int) { List2_MouseDown(i); };
        l.MouseMove = [this, i](int, int, int, int) { List2_MouseMove(i); };
        f.Text9[i]->MouseMove = [this](int, int, int, int) {
            form.setMousePointer(forms::MousePointer::Arrow);
        };
    }
    f.Frame1.MouseMove = [this](int, int, int, int) {
        form.setMousePointer(forms::MousePointer::Arrow);
    };
    for (int k = 0; k < 2; ++k) {
        forms::Label& s = *f.Label10[k];
        s.MouseDown = [this, k](int, int, int x, int y) { Label10_MouseDown(k, x, y); };
        s.MouseMove = [this, k](int, int, int x, int y) { Label10_MouseMove(k, x, y); };
        s.MouseUp = [this, k](int, int, int, int) { Label10_MouseUp(k); };
    }
    f.List1.MouseDown = [this](int button, int, int, int) { List1_MouseDown(button); };
    f.List1.MouseMove = [this](int, int, int, int) { List1_MouseMove(); };
    wireHints();
    f.Timer1.Tick = [this] { Timer1_Timer(); };
    f.Timer2.Tick = [this] { Timer2_Timer(); };
    f.Timer3.Tick = [this] { Timer3_Timer(); };
    f.Timer4.Tick = [this] { Timer4_Timer(); };
    f.Load = [this] {
        form.Form_Load();
        browsePath = form.File1.path();  // the folder the window opens with
    };
    // Closing the window stops a running scan at its next poll point.
    f.Unload = [this] {
        scan.settings.abortRequested = true;
        form.Form_Unload();
    };
}

// Timers that hide messages.
void MainWindow::Timer1_Timer() {
    form.Text3.setVisible(false);
    form.Text8.setVisible(false);
    form.Timer1.setTimerEnabled(false);
}

void MainWindow::Timer2_Timer() {
    form.Text10.setVisible(false);
    form.Text3.setVisible(false);
    form.Text8.setVisible(false);
    form.Timer1.setTimerEnabled(false);
    form.Timer2.setTimerEnabled(false);
}

void MainWindow::Timer4_Timer() {
    form.Text10.setVisible(false);
    form.Text11.setVisible(false);
    form.Text12.setVisible(false);
    form.Timer4.setTimerEnabled(false);
}

}  // namespace window
