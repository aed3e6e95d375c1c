// The main window's layout: minimum size, then a horizontal and a vertical
// pass that move the controls by the change since the previous resize, so
// positions that other handlers gave them (a dragged column) are kept.

#include "shell/form1.h"

#include <algorithm>

namespace shell {
namespace {

constexpr int kMinHeight = 7800;

void shiftLeft(forms::Control& c, int d) {
    c.setLeft(c.left() + d);
}
void widen(forms::Control& c, int d) {
    c.setWidth(c.width() + d);
}

}  // namespace

void Form1::refreshColumnGeometry() {
    ColumnGeometry& g = layout.columns;
    for (int i = 0; i < 3; ++i) {
        g.headers.left[i] = Command8[i]->left();
        g.headers.width[i] = Command8[i]->width();
        g.lists.left[i] = List2[i]->left();
        g.lists.width[i] = List2[i]->width();
        g.captions.width[i] = Text9[i]->width();
        g.captions.left[i] = Text9[i]->left();
    }
    g.splitterLeft[0] = Label10[0]->left();
    g.splitterLeft[1] = Label10[1]->left();
}

void Form1::startLayout() {
    layout.layoutWidth = width();
    layout.layoutHeight = height();
    layout.minWidth = width();
    refreshColumnGeometry();
}

void Form1::Form_Resize() {
    // A minimised window keeps its layout until it is restored.
    if (windowState() == forms::WindowState::Minimized) return;
    // A screen smaller than the design has the window smaller too.
    const int minHeight = roomHeight() > 0 ? std::min(kMinHeight, roomHeight()) : kMinHeight;
    const int minWidth = roomWidth() > 0 ? std::min(layout.minWidth, roomWidth()) : layout.minWidth;
    if (height() <= minHeight) setHeight(minHeight);
    if (width() <= minWidth) setWidth(minWidth);
    refreshColumnGeometry();

    int dh = 0;
    const int H = height();
    if (width() >= minWidth) {
        const int W = width();
        dh = H - layout.layoutHeight;
        layout.heightExtra = H - 9045;
        followWidth(W - layout.layoutWidth);
        layout.layoutWidth = W;
    }
    if (height() >= minHeight) {
        followHeight(dh);
        layout.layoutHeight = H;
    }
}

// The right-hand controls move by the change of width; Side A's name
// column, Side B and the separators grow with it.
void Form1::followWidth(int dw) {
    shiftLeft(Text2, dw);
    shiftLeft(Drive1, dw);
    shiftLeft(Dir1, dw);
    shiftLeft(File1, dw);
    shiftLeft(Label7, dw);
    Line1_1.setX2(Line1_1.x2() + dw);
    shiftLeft(Label6, dw);
    shiftLeft(Label5, dw);
    shiftLeft(Label8, dw);
    widen(Frame1, dw);
    shiftLeft(*Text9[2], dw);
    shiftLeft(*Command8[2], dw);
    shiftLeft(*Label10[1], dw);
    shiftLeft(*List2[2], dw);
    shiftLeft(*Text9[1], dw);
    shiftLeft(*Command8[1], dw);
    shiftLeft(*Label10[0], dw);
    shiftLeft(*List2[1], dw);
    widen(*Text9[0], dw);
    widen(*Command8[0], dw);
    widen(*List2[0], dw);
    shiftLeft(Text3, dw);
    shiftLeft(Text4, dw);
    shiftLeft(Text10, dw);
    Line1_2.setX2(Line1_2.x2() + dw);
    widen(List1, dw);
    Line1_0.setX2(Line1_0.x2() + dw);
    shiftLeft(Text11, dw);
}

// The bottom row moves down by the change of height; Side B and the file
// list grow to the separator above it.
void Form1::followHeight(int dh) {
    const int buttonsTop = Command6.top() + dh;
    Command1.setTop(buttonsTop);
    Command3.setTop(buttonsTop);
    Command4.setTop(buttonsTop);
    Command5.setTop(buttonsTop);
    Command9.setTop(Command6.top() + 45 + dh);
    Command6.setTop(Command6.top() + dh);
    Label5.setTop(Label5.top() + dh);
    Label6.setTop(Label6.top() + dh);
    Label7.setTop(Label7.top() + dh);
    Line1_1.setY1(Line1_1.y1() + dh);
    Line1_1.setY2(Line1_1.y2() + dh);
    List1.setHeight(Line1_1.y2() - List1.top() - 15);
    File1.setHeight(Line1_1.y2() - File1.top() - 15);
    if (layout.sideAEnlarged) {
        const int y = Line1_1.y2();
        Frame1.setHeight(y - 675 - 100);
        for (forms::ListBox* l : List2) l->setHeight(y - 405 - 800);
    }
}

}  // namespace shell
