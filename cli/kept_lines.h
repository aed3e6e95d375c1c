#pragma once
// Lines kept as Side B keeps them, in a list box of a form that is never
// shown: what tolan-list prints as a PDF once the scan is over.

#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"

namespace cli {

class KeptLines {
    struct NoWindow : forms::Application {
        void letEventsRun() override {}
        void beep() override {}
        void clipboardClear() override {}
        void clipboardSetText(const QString&) override {}
        void end() override {}
    };
    NoWindow app_;
    forms::Form form_{app_, QStringLiteral("tolan-list")};

  public:
    forms::ListBox& lines = form_.add<forms::ListBox>(QStringLiteral("List1"));
};

}  // namespace cli
