#pragma once
// The whole program over a temporary tree, for every test that needs one:
// its settings and state folders in the tree for the test's life (what was
// set before is put back), and the program's parts built as the desktop
// program builds them, on the test application (ProgramFixture) or on Qt
// (app::Program, with SettingsFolders).

#include "app/parts.h"
#include "platform/forms/manual_clock.h"
#include "tests/support/temp_tree.h"
#include "tests/support/test_application.h"

#include <optional>
#include <string>

// XDG_CONFIG_HOME and XDG_STATE_HOME point at "config" and "state" in the
// tree until this goes.
class SettingsFolders {
  public:
    explicit SettingsFolders(const TempTree& tree);
    ~SettingsFolders();
    SettingsFolders(const SettingsFolders&) = delete;
    SettingsFolders& operator=(const SettingsFolders&) = delete;

  private:
    std::optional<std::string> config_, state_;
};

// C: is the folder "c" of the tree, D: the tree itself, Q: a drive whose
// folder is missing.
dosfs::DriveTable testDrives(TempTree& tree);

class ProgramFixture {
  public:
    // Loads the program (the main window is shown) unless asked not to.
    explicit ProgramFixture(TempTree& tree, bool load = true);
    ProgramFixture(TempTree& tree, dosfs::DriveTable drives, bool load = true);

    SettingsFolders folders;
    TestApplication app;
    app::Parts parts;
    dosfs::FileSystem* const fs = &parts.fs;
    shell::Form1* const form = &parts.form;
    window::MainWindow* const behaviour = &parts.behaviour;
    output::OutputCommands* const output = &parts.output;

    // Opens a folder as a click in the folder tree does.
    void open(const QString& dosPath) { form->Dir1.setPath(dosPath); }
    QStringList list1() const;
    QStringList workFile() const;
};
