#pragma once
// Labels, text boxes, buttons, frames, lines, drop-down boxes and timers.

#include "platform/forms/control.h"

#include <QStringList>

namespace forms {

class Label : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::Label; }
    // Drawn over the lines of the form, hiding what lies beneath its text.
    bool opaque = false;
};

class CommandButton : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::Button; }
};

// One of a group of option buttons: the ones in the same container exclude
// each other. Selecting one raises its Click.
class OptionButton : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::OptionButton; }
    bool value() const { return value_; }
    void setValue(bool on);

  private:
    bool value_ = false;
};

// A tick box; a change of its value raises Click.
class CheckBox : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::CheckBox; }
    bool value() const { return value_; }
    void setValue(bool on);

  private:
    bool value_ = false;
};

class Frame : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::Frame; }
};

// A text box raises Change whenever its text changes, by code or by typing.
class TextBox : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::TextBox; }
    void setText(const QString& text) override;
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool v) { multiLine_ = v; }
    // A box that shows a text the user cannot edit (set before the view exists).
    bool locked() const { return locked_; }
    void setLocked(bool v) { locked_ = v; }
    // A box of several lines that scrolls, where the text may outgrow it
    // (set before the view exists); a message box is sized for its text.
    bool scrollBars() const { return scrollBars_; }
    void setScrollBars(bool v) { scrollBars_ = v; }
    // Typed by the user: stored, then Change.
    void typed(const QString& text);

  private:
    bool multiLine_ = false;
    bool locked_ = false;
    bool scrollBars_ = false;
};

// A separator line between two points, in its container's twips.
class Line : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::Line; }
    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    void setY1(int v) { setPoints(x1_, v, x2_, y2_); }
    void setX2(int v) { setPoints(x1_, y1_, v, y2_); }
    void setY2(int v) { setPoints(x1_, y1_, x2_, v); }
    void setPoints(int x1, int y1, int x2, int y2);

  private:
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

// An editable drop-down box: its text and a list in insertion order.
class ComboBox : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::ComboBox; }
    void setText(const QString& text) override;  // raises Change
    void addItem(const QString& item);
    void clear();
    int listCount() const { return static_cast<int>(items_.size()); }
    QString list(int i) const { return i >= 0 && i < items_.size() ? items_[i] : QString(); }
    const QStringList& items() const { return items_; }
    // The user typed: stored, then Change.
    void typed(const QString& text);
    // The user picked entry i: the text becomes the entry, then Click.
    void picked(int i);

  private:
    QStringList items_;
};

// Ticks every `interval` milliseconds while enabled, on the clock the
// binding or a test drives.
class Timer : public Control {
  public:
    using Control::Control;
    Kind kind() const override { return Kind::Timer; }
    int interval() const { return interval_; }
    void setInterval(int ms);
    bool timerEnabled() const { return on_; }
    void setTimerEnabled(bool on);
    // Starts a fresh interval, whether or not the timer was running.
    void restart() {
        setTimerEnabled(false);
        setTimerEnabled(true);
    }
    std::function<void()> Tick;  // the Timer event
    void tick() {
        if (on_ && interval_ > 0 && Tick) Tick();
    }
    // Milliseconds since the last tick, kept by a manual clock.
    int elapsed = 0;

  private:
    int interval_ = 0;
    bool on_ = false;
};

}  // namespace forms
