#pragma once
// A control of a form: a plain object holding its state in twips and text,
// raising its events synchronously. The form's observer (the Qt binding) is
// told of every change; the model never asks the view for its state.

#include "platform/forms/assign.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace forms {

class Control;
class Form;

// What changed, for the observer.
enum class Prop {
    Geometry,
    Visible,
    Enabled,
    Text,
    ForeColor,
    BackColor,
    Font,
    ItemsAppended,  // items added at the end; the view may catch up later
    ItemsReset,     // items cleared or replaced
    Selection,
    TopIndex,
    ListIndex,
    MousePointer,
    Timer,  // interval or enabled
    Focus,
    WindowState,
    Menu,
    Accessible,  // the name or description a screen reader is told
};

class Observer {
  public:
    virtual ~Observer() = default;
    virtual void changed(Control& control, Prop what) = 0;
    virtual void formChanged(Form& form, Prop what) = 0;
};

// Mouse buttons and shift state as event arguments carry them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// The key codes a KeyDown event carries: letters and digits are their
// capitals' and digits' character codes.
namespace keys {
constexpr int kBackspace = 8, kTab = 9, kEnter = 13, kShift = 16, kCtrl = 17, kAlt = 18;
constexpr int kCapsLock = 20, kEscape = 27, kSpace = 32, kPageUp = 33, kPageDown = 34;
constexpr int kEnd = 35, kHome = 36, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kInsert = 45, kDelete = 46, kA = 65, kC = 67, k0 = 48, kF1 = 112, kF10 = 121;
constexpr int kF12 = 123;
constexpr int kMenu = 93;  // the context menu key
}  // namespace keys

enum class MousePointer { Default = 0, Arrow = 1, SizeWE = 9, Hourglass = 11 };

// Colours as 0xRRGGBB; the 16-colour palette's entry 4 is dark red.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kPaletteRed = 0x800000;
constexpr uint32_t kBrightRed = 0xFF0000;
constexpr uint32_t kDefaultColor = 0xFFFFFFFF;  // the style's own colour

struct Font {
    QString name;
    int points = 9;
    bool operator==(const Font&) const = default;
};

// What a screen reader is told a control is, where its kind says too little.
enum class AccessibleRole {
    Default,       // as its kind
    Message,       // a box that shows a command's result or failure
    Hint,          // the hover hint box
    Busy,          // the box that shows a command is running
    ColumnHeader,  // a column's header
    Separator,     // a splitter between columns
};

enum class Kind {
    Label,
    TextBox,
    Button,
    OptionButton,
    CheckBox,
    ListBox,
    ComboBox,
    DriveList,
    DirList,
    FileList,
    Frame,
    Line,
    Timer
};

class Control {
  public:
    using MouseHandler = std::function<void(int button, int shift, int x, int y)>;

    Control(Form& form, Control* container, QString name, int index);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual Kind kind() const = 0;
    Form& form() const { return form_; }
    Control* container() const { return container_; }  // a frame, or nullptr for the form
    const QString& name() const { return name_; }
    int index() const { return index_; }  // position in its control array; -1 when alone

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int v) { setGeometry(v, top_, width_, height_); }
    void setTop(int v) { setGeometry(left_, v, width_, height_); }
    void setWidth(int v) { setGeometry(left_, top_, v, height_); }
    void setHeight(int v) { setGeometry(left_, top_, width_, v); }
    void setGeometry(int left, int top, int width, int height);

    bool visible() const { return visible_; }
    void setVisible(bool v) { set(visible_, v, Prop::Visible); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool v) { set(enabled_, v, Prop::Enabled); }

    // The caption of labels and buttons, the text of text and drop-down boxes.
    const QString& text() const { return text_; }
    virtual void setText(const QString& text);

    uint32_t foreColor() const { return foreColor_; }
    void setForeColor(uint32_t rgb) { set(foreColor_, rgb, Prop::ForeColor); }
    uint32_t backColor() const { return backColor_; }
    void setBackColor(uint32_t rgb) { set(backColor_, rgb, Prop::BackColor); }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { set(font_, font, Prop::Font); }
    MousePointer mousePointer() const { return pointer_; }
    void setMousePointer(MousePointer p) { set(pointer_, p, Prop::MousePointer); }

    // Asks for the input focus; the view moves it, the model only records it.
    void setFocus();
    // Enter goes to this control's own key handler instead of pressing the
    // form's default button.
    bool wantsEnter = false;
    // Tab and Shift+Tab visit the control (in the order of the screen).
    bool tabStop = true;

    // What a screen reader says of the control: its name (empty: its
    // caption), a description (its hint), and its role where its kind says
    // too little. A message or hint box is named by the text it shows.
    const QString& accessibleName() const { return accessibleName_; }
    void setAccessibleName(const QString& name) { set(accessibleName_, name, Prop::Accessible); }
    const QString& accessibleDescription() const { return accessibleDescription_; }
    void setAccessibleDescription(const QString& text) {
        set(accessibleDescription_, text, Prop::Accessible);
    }
    AccessibleRole accessibleRole = AccessibleRole::Default;  // set before the form is shown
    const Control* accessibleLabel = nullptr;  // the label it stands under, if it has one

    // Events. Handlers are set by the form's code; the binding and tests raise them.
    std::function<void()> Click, DblClick, GotFocus, LostFocus, Change;
    MouseHandler MouseDown, MouseMove, MouseUp;
    std::function<void(int keyCode, int shift)> KeyDown;

    void raiseClick() {
        if (Click) Click();
    }
    void raiseDblClick() {
        if (DblClick) DblClick();
    }
    void raiseGotFocus() {
        if (GotFocus) GotFocus();
    }
    void raiseLostFocus() {
        if (LostFocus) LostFocus();
    }
    void raiseChange() {
        if (Change) Change();
    }
    void raiseMouseDown(int b, int s, int x, int y) {
        if (MouseDown) MouseDown(b, s, x, y);
    }
    void raiseMouseMove(int b, int s, int x, int y) {
        if (MouseMove) MouseMove(b, s, x, y);
    }
    void raiseMouseUp(int b, int s, int x, int y) {
        if (MouseUp) MouseUp(b, s, x, y);
    }
    void raiseKeyDown(int key, int shift) {
        if (KeyDown) KeyDown(key, shift);
    }

    // What the user changed in the view, written back before its event.
    void setTextFromUser(const QString& text);

  protected:
    void notify(Prop what);
    // Stores a property's new value and tells the observer when it changed.
    template <typename T, typename U>
    void set(T& field, const U& value, Prop what) {
        if (assign(field, value)) notify(what);
    }
    QString text_;

  private:
    Form& form_;
    Control* container_;
    QString name_;
    int index_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    uint32_t foreColor_ = kBlack;
    uint32_t backColor_ = kDefaultColor;
    Font font_;
    MousePointer pointer_ = MousePointer::Default;
    QString accessibleName_;
    QString accessibleDescription_;
};

}  // namespace forms
