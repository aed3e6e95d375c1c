#include "platform/forms/form.h"

#include "platform/forms/application.h"
#include "platform/forms/assign.h"
#include "platform/forms/basic_controls.h"

namespace forms {

Form::Form(Application& app, QString name) : app_(app), name_(std::move(name)) {}

Form::~Form() {
    app_.formDestroyed(*this);
}

void Form::notify(Prop what) {
    if (observer_) observer_->formChanged(*this, what);
}

void Form::setLeft(int v) {
    if (assign(left_, v)) notify(Prop::Geometry);
}

void Form::setTop(int v) {
    if (assign(top_, v)) notify(Prop::Geometry);
}

void Form::setWidth(int v) {
    if (!assign(width_, v)) return;
    notify(Prop::Geometry);
    raiseResize();
}

void Form::setHeight(int v) {
    if (!assign(height_, v)) return;
    notify(Prop::Geometry);
    raiseResize();
}

void Form::setCaption(const QString& c) {
    caption_ = c;
    notify(Prop::Text);
}

void Form::show() {
    if (visible_) return;
    if (!observer_) app_.createView(*this);
    visible_ = true;
    notify(Prop::Visible);
    // A form is laid out for its size when it is first displayed, as when
    // its size changes.
    if (!displayed_) {
        displayed_ = true;
        raiseResize();
    }
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    notify(Prop::Visible);
}

void Form::bringToFront() {
    if (visible_) notify(Prop::Focus);
}

void Form::setEnabled(bool v) {
    if (assign(enabled_, v)) notify(Prop::Enabled);
}

void Form::setMousePointer(MousePointer p) {
    if (assign(pointer_, p)) notify(Prop::MousePointer);
}

std::vector<Timer*> Form::timers() const {
    std::vector<Timer*> out;
    for (const auto& c : controls_)
        if (c->kind() == Kind::Timer) out.push_back(static_cast<Timer*>(c.get()));
    return out;
}

Menu& Form::addMenu(QString name, QString caption) {
    menus_.push_back(std::make_unique<Menu>(std::move(name), std::move(caption)));
    notify(Prop::Menu);
    return *menus_.back();
}

void Form::load() {
    if (Load) Load();
}

void Form::close() {
    if (Unload) Unload();
}

void Form::resizedByUser(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    raiseResize();
}

void Form::movedByUser(int left, int top) {
    left_ = left;
    top_ = top;
}

void Form::stateChangedByUser(WindowState state) {
    if (state == state_) return;
    state_ = state;
    raiseResize();
}

void Form::activatedByUser() {
    if (Activate) Activate();
}

}  // namespace forms
