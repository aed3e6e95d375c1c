#include "platform/qt/accessible.h"

#include "platform/forms/shown_text.h"

#include "platform/qt/list_view.h"
#include "platform/qt/list_view_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

namespace qtbind {

namespace {

// The widget property that holds a role other than its kind's.
constexpr char kRoleProperty[] = "tolanAccessibleRole";

QAccessible::Role qtRole(forms::AccessibleRole role) {
    switch (role) {
        case forms::AccessibleRole::Message:
            return QAccessible::Notification;
        case forms::AccessibleRole::Hint:
            return QAccessible::ToolTip;
        case forms::AccessibleRole::Busy:
            return QAccessible::StatusBar;
        case forms::AccessibleRole::ColumnHeader:
            return QAccessible::ColumnHeader;
        case forms::AccessibleRole::Separator:
            return QAccessible::Separator;
        case forms::AccessibleRole::Default:
            break;
    }
    return QAccessible::NoRole;
}

bool namedByText(forms::AccessibleRole role) {
    return role == forms::AccessibleRole::Message || role == forms::AccessibleRole::Hint ||
           role == forms::AccessibleRole::Busy;
}

// What a message box says: its text while it is in sight, nothing while it
// is hidden (a box's design text, "Text3", is no message).
QString said(const forms::Control& c) {
    return c.visible() ? forms::shown(c.text()).simplified() : QString();
}

// A drop-down box read by the label it stands under, the text it shows as
// its value: Qt names one by that text on Linux.
class LabelledComboBox : public QAccessibleWidget {
  public:
    explicit LabelledComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override {
        const auto* box = static_cast<const QComboBox*>(widget());
        if (t == QAccessible::Name && !box->accessibleName().isEmpty())
            return box->accessibleName();
        if (t == QAccessible::Name || t == QAccessible::Value) return box->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& action) override {
        if (action == showMenuAction()) static_cast<QComboBox*>(widget())->showPopup();
    }
};

// A frame, whose children are its controls but the views of a table's
// other columns (their rows are read in the table).
class HoldsTable : public QAccessibleWidget {
  public:
    using QAccessibleWidget::QAccessibleWidget;
    int childCount() const override { return static_cast<int>(shown().size()); }
    QAccessibleInterface* child(int index) const override { return shown().value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return shown().indexOf(const_cast<QAccessibleInterface*>(child));
    }

  private:
    QList<QAccessibleInterface*> shown() const {
        QList<QAccessibleInterface*> children;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || readInAnotherView(w)) continue;
            if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w))
                children.append(i);
        }
        return children;
    }
};

// Later factories are asked first, so these take the forms' widgets from
// Qt's own.
QAccessibleInterface* formsWidgetFactory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* view = dynamic_cast<ListBoxView*>(widget)) return listViewAccessible(view);
    if (auto* box = qobject_cast<QComboBox*>(widget)) return new LabelledComboBox(box);
    // A forms frame (a plain QFrame, not a list or a label, which are
    // frames too); it may be asked for before its columns are made.
    if (widget->metaObject() == &QFrame::staticMetaObject)
        return new HoldsTable(widget, QAccessible::Client);
    const QVariant role = widget->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(formsWidgetFactory);
        return true;
    }();
    (void)installed;
}

void describe(const forms::Control& c, QWidget* w) {
    if (namedByText(c.accessibleRole))
        w->setAccessibleName(said(c));
    else if (!c.accessibleName().isEmpty())
        w->setAccessibleName(forms::shown(c.accessibleName()));
    w->setAccessibleDescription(forms::shown(c.accessibleDescription()));
    // The box a drop-down box is typed in is the box itself.
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(w->accessibleName());
        combo->lineEdit()->setAccessibleDescription(w->accessibleDescription());
    }
    if (c.accessibleRole == forms::AccessibleRole::Default || w->property(kRoleProperty).isValid())
        return;
    w->setProperty(kRoleProperty, static_cast<int>(qtRole(c.accessibleRole)));
    // An interface made before the role was known (as the widget was made)
    // gives way to one with the role.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(w);
    if (made && made->role() != qtRole(c.accessibleRole))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void setOptionChecked(QRadioButton* button, bool checked) {
    if (button->isChecked() == checked) return;
    if (checked) return button->setChecked(true);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

void labelWith(QWidget* label, QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(label)) l->setBuddy(w);
}

void followMessage(const forms::Control& c, QWidget* w) {
    if (!namedByText(c.accessibleRole)) return;
    const QString text = said(c);
    if (w->accessibleName() == text) return;
    w->setAccessibleName(text);
    // A box that comes into sight is announced by Qt as it shows it, with
    // the name it has then; one already in sight is announced here.
    if (w->isVisible() && !text.isEmpty() && c.accessibleRole == forms::AccessibleRole::Message &&
        QAccessible::isActive()) {
        QAccessibleEvent shown(w, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

}  // namespace qtbind
