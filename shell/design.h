#pragma once
// Helpers that create controls at their design place with the design font,
// for the main window and the dialogs alike.

#include "platform/forms/basic_controls.h"
#include "platform/forms/form.h"
#include "shell/form1.h"

namespace shell {

template <typename T, typename... Extra>
T& make(forms::Form& f, const char* name, int index, forms::Control* in, int l, int t, int w, int h,
        const QString& text, Extra&&... extra) {
    T& c = f.add<T>(QString::fromLatin1(name), index, in, std::forward<Extra>(extra)...);
    c.setGeometry(l, t, w, h);
    if (!text.isEmpty()) c.setText(text);
    c.setFont({kDefaultFont, 9});
    return c;
}

inline forms::Line& line(forms::Form& f, int index, int x1, int y1, int x2, int y2) {
    forms::Line& l = f.add<forms::Line>(QStringLiteral("Line1"), index);
    l.setPoints(x1, y1, x2, y2);
    return l;
}

// What a screen reader says of a control its caption does not name (the
// label it stands under) or names by a code, and what it does (its hint).
inline void describe(forms::Control& c, const QString& name, const QString& description = {}) {
    c.setAccessibleName(name);
    c.setAccessibleDescription(description);
}

// A control named by the label it stands under.
inline void describe(forms::Control& c, const forms::Label& label,
                     const QString& description = {}) {
    describe(c, label.text(), description);
    c.accessibleLabel = &label;
}

// A box a screen reader tells by its role and the text it shows.
inline void describe(forms::Control& c, forms::AccessibleRole role) {
    c.accessibleRole = role;
}

inline forms::TextBox& hidden(forms::TextBox& box) {
    box.setVisible(false);
    return box;
}

inline forms::Timer& timer(forms::Form& f, const char* name, int interval, bool on) {
    forms::Timer& t = f.add<forms::Timer>(QString::fromLatin1(name));
    t.setInterval(interval);
    t.setTimerEnabled(on);
    return t;
}

}  // namespace shell
