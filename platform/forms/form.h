#pragma once
// A window and the controls it owns, created in design order.

#include "platform/forms/control.h"
#include "platform/forms/menu.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace forms {

class Application;
class Timer;

enum class WindowState { Normal, Minimized, Maximized };

class Form {
  public:
    Form(Application& app, QString name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Application& app() const { return app_; }
    const QString& name() const { return name_; }

    // Outer position and size in twips. A size change raises Resize before
    // the setter returns.
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& c);
    bool visible() const { return visible_; }
    // Without blocking; the application gives it a view first. The first
    // show raises Resize.
    void show();
    void hide();
    // Raises a shown window above the others and gives it the focus.
    void bringToFront();
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    MousePointer mousePointer() const { return pointer_; }
    void setMousePointer(MousePointer p);
    WindowState windowState() const { return state_; }

    // Creates a control at the end of the design order.
    template <typename T, typename... Args>
    T& add(QString name, int index = -1, Control* container = nullptr, Args&&... args) {
        auto c = std::make_unique<T>(*this, container, std::move(name), index,
                                     std::forward<Args>(args)...);
        T& ref = *c;
        controls_.push_back(std::move(c));
        return ref;
    }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    std::vector<Timer*> timers() const;

    Menu& addMenu(QString name, QString caption);
    const std::vector<std::unique_ptr<Menu>>& menus() const { return menus_; }

    // The buttons that Enter and Escape press, as dialogs have them.
    Control* defaultButton = nullptr;
    Control* cancelButton = nullptr;

    Observer* observer() const { return observer_; }
    void setObserver(Observer* o) { observer_ = o; }

    // Events.
    std::function<void()> Load, Resize, Activate, Unload;
    std::function<void(int button, int shift, int x, int y)> MouseMove;
    // A key pressed in any of its controls, before the control has it; the
    // handler takes the key by setting its code to 0.
    std::function<void(int& keyCode, int shift)> KeyDown;

    void load();   // raises Load
    void close();  // raises Unload; the close is never cancelled

    // What the user did to the window, written back before its event.
    void resizedByUser(int width, int height);
    void movedByUser(int left, int top);
    void stateChangedByUser(WindowState state);
    void activatedByUser();

    // The largest outer size, in twips, that the screen the window is shown
    // on has room for (0: not known); written by the binding before the
    // window shows, so that a layout can give way below its design size.
    int roomWidth() const { return roomWidth_; }
    int roomHeight() const { return roomHeight_; }
    void setRoom(int width, int height) {
        roomWidth_ = width;
        roomHeight_ = height;
    }

  private:
    void notify(Prop what);
    void raiseResize() {
        if (Resize) Resize();
    }

    Application& app_;
    QString name_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int roomWidth_ = 0, roomHeight_ = 0;
    QString caption_;
    bool visible_ = false;
    bool displayed_ = false;  // shown at least once
    bool enabled_ = true;
    MousePointer pointer_ = MousePointer::Default;
    WindowState state_ = WindowState::Normal;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Menu>> menus_;
    Observer* observer_ = nullptr;
};

}  // namespace forms
