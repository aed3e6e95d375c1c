#pragma once
// The state the main window's layout keeps between resizes, in twips. Held
// in 32 bits, so a window wider than 32767 twips lays out correctly.

namespace shell {

// Left and width of the three Side A columns of one control family.
struct ColumnFamily {
    int left[3] = {0, 0, 0};
    int width[3] = {0, 0, 0};
};

struct ColumnGeometry {
    ColumnFamily headers;          // Command8
    ColumnFamily lists;            // List2
    ColumnFamily captions;         // Text9
    int splitterLeft[2] = {0, 0};  // Label10
};

struct LayoutState {
    int layoutWidth = 0;   // window width after the last horizontal pass
    int layoutHeight = 0;  // window height after the last vertical pass
    int minWidth = 0;      // the width the window was created with
    int heightExtra = 0;   // window height - 9045
    bool sideAEnlarged = false;
    ColumnGeometry columns;
};

}  // namespace shell
