#pragma once
// What the files of FormWindow share: the frame of a form, the pointer
// shapes, and the guard that marks the model's state going into widgets.

#include "platform/forms/form.h"
#include "platform/qt/form_window.h"

#include <Qt>

namespace qtbind {

inline int frameHeightOf(const forms::Form& form) {
    return form.menus().empty() ? kDialogFrameHeight : kFrameHeight;
}

inline Qt::CursorShape cursorOf(forms::MousePointer p) {
    switch (p) {
        case forms::MousePointer::Hourglass:
            return Qt::WaitCursor;
        case forms::MousePointer::SizeWE:
            return Qt::SizeHorCursor;
        default:
            return Qt::ArrowCursor;
    }
}

// Keeps the flag raised while the model's state goes into the widgets, so
// their change signals are not taken for the user's doing.
struct Applying {
    explicit Applying(int& n) : n_(n) { ++n_; }
    ~Applying() { --n_; }
    int& n_;
};

}  // namespace qtbind
