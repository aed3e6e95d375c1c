#include "platform/forms/control.h"

#include "platform/forms/assign.h"
#include "platform/forms/form.h"

namespace forms {

Control::Control(Form& form, Control* container, QString name, int index)
    : form_(form), container_(container), name_(std::move(name)), index_(index) {}

void Control::notify(Prop what) {
    if (Observer* o = form_.observer()) o->changed(*this, what);
}

void Control::setGeometry(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left, top_ = top, width_ = width, height_ = height;
    notify(Prop::Geometry);
}

void Control::setText(const QString& text) {
    if (assign(text_, text)) notify(Prop::Text);
}

void Control::setTextFromUser(const QString& text) {
    text_ = text;
}

void Control::setFocus() {
    notify(Prop::Focus);
}

}  // namespace forms
