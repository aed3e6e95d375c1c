#pragma once
// What a screen reader is told of a form's controls: each widget's name,
// description and role from its control, message boxes named by the text
// they show and announced once for each message, and the list views'
// rows read from their storage (list_view_accessible.h).

#include "platform/forms/control.h"

class QWidget;

namespace qtbind {

// Puts Qt's accessibility factory for the forms' widgets in place; called
// before the first widget is made, as often as one likes.
void installAccessibility();

// A control's name, description and role on its widget.
void describe(const forms::Control& c, QWidget* w);

// The label a control stands under is its label to a screen reader too.
void labelWith(QWidget* label, QWidget* w);

// A message, hint or busy box whose text changed or that showed or hid: its
// name follows its text while in sight, and a new message in a box in sight
// is announced (a box coming into sight is announced by Qt as it shows it).
void followMessage(const forms::Control& c, QWidget* w);

}  // namespace qtbind

class QRadioButton;

namespace qtbind {

// An option button checked or not as its model says: an exclusive one
// refuses to be unchecked, so it lets go of that for the moment.
void setOptionChecked(QRadioButton* button, bool checked);

}  // namespace qtbind
