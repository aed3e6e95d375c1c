#pragma once
// The desktop program's parts put together: the DOS file layer over the
// drive table, the main window with its behaviour and its window, and the
// output commands with their dialogs.

#include "output/output_commands.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"
#include "shell/form1.h"
#include "window/main_window.h"

#include <QByteArray>

namespace app {

class Program {
  public:
    // Needs a qtbind::GuiProcess; loading shows the main window.
    explicit Program(dosfs::DriveTable drives);

    qtbind::QtApplication qt;
    dosfs::FileSystem fs;
    shell::Form1 form;
    window::MainWindow behaviour;
    qtbind::FormWindow window;
    output::OutputCommands output;

    void load() { form.load(); }
};

// Side A opens a host folder (as a file manager passes it) through the
// drive table. A path that is no folder on a mapped drive leaves Side A as
// it was and says "ディレクトリ存在せず" for six seconds. Returns whether
// the folder was opened.
bool openStartFolder(shell::Form1& form, const QByteArray& hostPath);

}  // namespace app
