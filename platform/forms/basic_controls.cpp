#include "platform/forms/basic_controls.h"

#include "platform/forms/assign.h"
#include "platform/forms/form.h"

namespace forms {

void TextBox::setText(const QString& text) {
    if (!assign(text_, text)) return;
    notify(Prop::Text);
    raiseChange();
}

void TextBox::typed(const QString& text) {
    if (text == text_) return;
    setTextFromUser(text);
    raiseChange();
}

void OptionButton::setValue(bool on) {
    if (!assign(value_, on)) return;
    notify(Prop::Text);
    if (!on) return;
    for (const auto& c : form().controls()) {
        if (c.get() == this || c->kind() != Kind::OptionButton || c->container() != container())
            continue;
        auto* other = static_cast<OptionButton*>(c.get());
        if (other->value_) {
            other->value_ = false;
            other->notify(Prop::Text);
        }
    }
    raiseClick();
}

void CheckBox::setValue(bool on) {
    if (!assign(value_, on)) return;
    notify(Prop::Text);
    raiseClick();
}

void Line::setPoints(int x1, int y1, int x2, int y2) {
    if (x1 == x1_ && y1 == y1_ && x2 == x2_ && y2 == y2_) return;
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    notify(Prop::Geometry);
}

void ComboBox::setText(const QString& text) {
    if (!assign(text_, text)) return;
    notify(Prop::Text);
    raiseChange();
}

void ComboBox::addItem(const QString& item) {
    items_.append(item);
    notify(Prop::ItemsReset);
}

void ComboBox::clear() {
    items_.clear();
    notify(Prop::ItemsReset);
}

void ComboBox::typed(const QString& text) {
    if (text == text_) return;
    setTextFromUser(text);
    raiseChange();
}

void ComboBox::picked(int i) {
    if (i < 0 || i >= items_.size()) return;
    if (items_[i] != text_) {
        text_ = items_[i];
        notify(Prop::Text);
    }
    raiseClick();
}

void Timer::setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    elapsed = 0;
    notify(Prop::Timer);
}

void Timer::setTimerEnabled(bool on) {
    if (on == on_) return;
    on_ = on;
    elapsed = 0;
    notify(Prop::Timer);
}

}  // namespace forms
