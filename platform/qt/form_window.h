#pragma once
// A form shown as a real Qt window: one widget per control at its twips
// position divided by 15, created in design order so later controls lie on
// top. The window observes the model and writes back what the user changes
// (text typed, selection, top row, window size) before raising the event.

#include "platform/forms/control.h"
#include "platform/forms/form.h"

#include <QMainWindow>
#include <QPointer>

#include <unordered_map>

class QKeyEvent;
class QTimer;

namespace forms {
class TextBox;
class ComboBox;
class OptionButton;
}  // namespace forms

namespace qtbind {

class ListBoxView;

constexpr int kTwipsPerPixel = 15;
// The frame and menu bar of the design window: its client area is this much
// narrower and lower than the form's outer size.
constexpr int kFrameWidth = 135;
constexpr int kFrameHeight = 690;
// A dialog has no menu bar: its title bar and frame alone.
constexpr int kDialogFrameHeight = 390;

class FormWindow : public QMainWindow, public forms::Observer {
  public:
    explicit FormWindow(forms::Form& form, QWidget* parent = nullptr);
    ~FormWindow() override;

    forms::Form& form() const { return form_; }
    QWidget* widgetOf(const forms::Control& c) const;
    QWidget* client() const { return client_; }

    void changed(forms::Control& control, forms::Prop what) override;
    void formChanged(forms::Form& form, forms::Prop what) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Widgets (widget_factory.cpp).
    QWidget* create(forms::Control& c, QWidget* parent);
    QWidget* createOptionButton(forms::OptionButton& option, QWidget* parent);
    QWidget* createTextBox(forms::TextBox& box, QWidget* parent);
    QWidget* createComboBox(forms::ComboBox& box, QWidget* parent);
    QWidget* createFolderOrFileList(forms::Control& c, QWidget* parent);
    void wireListBox(forms::Control& c, QWidget* view);
    // Lists joined as one table's columns: one tab stop, the first column
    // taking the focus for all, and their headers told to screen readers.
    void joinTables();
    // A widget inside a control's own (a scroll area's viewport) whose
    // events are the control's.
    void watchViewport(QWidget* viewport, forms::Control& c);
    // The model's properties into the widgets (property_sync.cpp).
    void applyGeometry(forms::Control& c);
    void applyText(forms::Control& c);
    void applyItems(forms::Control& c);
    void rebuildAfterClick(forms::Control& c);
    void applySelection(forms::Control& c);
    void applyTimer(forms::Control& c);
    void applyColors(forms::Control& c, forms::Prop what);
    void applyListPosition(forms::Control& c, forms::Prop what);
    void applyFocus(QWidget* w);
    // The window (form_window.cpp).
    void applyFormGeometry();
    void fitToScreen();
    // The client size and the place in pixels that the form's twips give.
    QSize clientPixels() const;
    QPoint placePixels() const;
    void orderTabs();
    // Twips to logical pixels on the device-pixel grid (see grid_).
    int snap(int twips) const;
    void buildMenus();
    forms::Control* controlOf(QObject* o) const;
    // Input (input_events.cpp). Enter and Escape press the form's default
    // and cancel buttons.
    bool pressesButton(forms::Control& c, int key);
    // The form's key handler has the key first; whether it took it.
    bool takenByForm(const QKeyEvent& key);
    // Enter and Space in a folder tree click its highlighted row.
    bool clicksFolderRow(forms::Control& c, QObject* watched, const QKeyEvent& key);
    // The control that had the focus when the window was disabled (a dialog
    // opened from it) takes it again once it can.
    void giveFocusBack();
    // Hides the window, handing the activation back to its owner.
    void hideAndHandBack();

    forms::Form& form_;
    QWidget* client_ = nullptr;
    std::unordered_map<const forms::Control*, QWidget*> widgets_;
    std::unordered_map<const QObject*, forms::Control*> controls_;  // widgets and viewports
    std::unordered_map<const forms::Control*, ListBoxView*> views_;
    std::unordered_map<const forms::Control*, QTimer*> timers_;
    QPointer<QWidget> focusBack_;  // see giveFocusBack()
    // The widget the program last gave the focus to, and the one that had
    // it then: the focus goes back there when the first hides.
    QPointer<QWidget> focusGivenTo_;
    QPointer<QWidget> focusGivenFrom_;
    int grid_ = 1;        // logical pixels a step (see pixelGrid)
    int applying_ = 0;    // >0 while the model's state is put into the widgets
    bool dying_ = false;  // the window is being destroyed: no more events
};

// Twips to pixels and back.
int toPixels(int twips);
// The installed font that stands in for a font name the forms use.
QString substituteFont(const QString& name);
// The key code of a Qt key (letters, digits, arrows, function keys...).
int keyCodeOf(int qtKey);

}  // namespace qtbind
