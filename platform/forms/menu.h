#pragma once
// Menus and menu items of a form's menu bar.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace forms {

class Menu {
  public:
    Menu(QString name, QString caption) : name_(std::move(name)), caption_(std::move(caption)) {}
    const QString& name() const { return name_; }
    const QString& caption() const { return caption_; }
    Menu& add(QString name, QString caption) {
        items_.push_back(std::make_unique<Menu>(std::move(name), std::move(caption)));
        return *items_.back();
    }
    const std::vector<std::unique_ptr<Menu>>& items() const { return items_; }
    std::function<void()> Click;
    void raiseClick() {
        if (Click) Click();
    }

  private:
    QString name_;
    QString caption_;
    std::vector<std::unique_ptr<Menu>> items_;
};

}  // namespace forms
