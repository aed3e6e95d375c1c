#pragma once
// A Qt GUI application without a display, for what tolan-list draws (a PDF,
// the occupancy graph). What Qt says of its set-up (a runtime folder it made
// up) is no news to a script; only its errors are passed on.

#include <QGuiApplication>

#include <memory>

namespace cli {

std::unique_ptr<QGuiApplication> offscreenGui(char* program);

}  // namespace cli
