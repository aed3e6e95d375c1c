#include "platform/forms/control.h"

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

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    notify(Prop::Visible);
}

void Control::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    notify(Prop::Enabled);
}

void Control::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    notify(Prop::Text);
}

void Control::setTextFromUser(const QString& text) {
    text_ = text;
}

void Control::setForeColor(uint32_t rgb) {
    if (rgb == foreColor_) return;
    foreColor_ = rgb;
    notify(Prop::ForeColor);
}

void Control::setBackColor(uint32_t rgb) {
    if (rgb == backColor_) return;
    backColor_ = rgb;
    notify(Prop::BackColor);
}

void Control::setFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    notify(Prop::Font);
}

void Control::setMousePointer(MousePointer p) {
    if (p == pointer_) return;
    pointer_ = p;
    notify(Prop::MousePointer);
}

void Control::setFocus() {
    notify(Prop::Focus);
}

}  // namespace forms
