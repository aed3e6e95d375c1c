#pragma once
// The main window's model with its behaviour over a temporary tree: C: is
// the folder "c" of the tree, D: the tree itself; settings and state live
// in the tree too.

#include "platform/forms/manual_clock.h"
#include "shell/form1.h"
#include "tests/support/qt_print.h"
#include "tests/support/temp_tree.h"
#include "tests/support/test_application.h"
#include "window/main_window.h"

#include <QFile>

#include <cstdlib>
#include <memory>

class WindowFixture {
  public:
    explicit WindowFixture(TempTree& tree) : tree_(tree) {
        tree.folder("c");
        setenv("XDG_CONFIG_HOME", tree.path("config").constData(), 1);
        setenv("XDG_STATE_HOME", tree.path("state").constData(), 1);
        dosfs::DriveTable drives;
        drives.set(u'C', tree.path("c"));
        drives.set(u'D', tree.root());
        drives.set(u'Q', tree.path("no-such-disk"));
        fs = std::make_unique<dosfs::FileSystem>(drives);
        form = std::make_unique<shell::Form1>(app, *fs);
        behaviour = std::make_unique<window::MainWindow>(*form);
        form->load();
    }
    // Opens a folder as a click in the folder tree does.
    void open(const QString& dosPath) { form->Dir1.setPath(dosPath); }
    QStringList list1() const {
        QStringList out;
        for (int i = 0; i < form->List1.listCount(); ++i) out.append(form->List1.list(i));
        return out;
    }
    QStringList workFile() const;

    TestApplication app;
    std::unique_ptr<dosfs::FileSystem> fs;
    std::unique_ptr<shell::Form1> form;
    std::unique_ptr<window::MainWindow> behaviour;

  private:
    TempTree& tree_;
};
