#pragma once
// The program's model put together on any forms::Application: the DOS file
// layer over the drive table, the main window with its behaviour, and the
// output commands with their dialogs. The desktop program shows it through
// the Qt binding (app::Program); tests drive it as it is.

#include "output/output_commands.h"
#include "shell/form1.h"
#include "window/graph_command.h"
#include "window/main_window.h"

#include <QByteArray>

namespace app {

class Parts {
  public:
    // The application outlives the parts; loading shows the main window.
    Parts(forms::Application& application, dosfs::DriveTable drives);
    ~Parts();
    Parts(const Parts&) = delete;
    Parts& operator=(const Parts&) = delete;

    // The window waits this long for a device before it goes on without it.
    static constexpr int kAnswerMs = 300;
    dosfs::AnswerWatch watch;
    dosfs::FileSystem fs;
    shell::Form1 form;
    window::MainWindow behaviour;
    output::OutputCommands output;
    window::GraphCommand graph{behaviour};

    void load() { form.load(); }
};

// Side A opens a host folder (as a file manager passes it) through the
// drive table. A path that is no folder on a mapped drive leaves Side A as
// it was and says "ディレクトリ存在せず" for six seconds. Returns whether
// the folder was opened.
bool openStartFolder(shell::Form1& form, const QByteArray& hostPath);

}  // namespace app
