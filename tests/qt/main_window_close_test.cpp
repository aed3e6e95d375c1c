// Closing the real main window through Qt saves the settings.

#include "platform/qt/form_window.h"
#include "platform/qt/qt_application.h"
#include "shell/form1.h"
#include "tests/support/temp_tree.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(MainWindowClose, TheCloseBoxSavesTheWindowsGeometry) {
    TempTree tree;
    setenv("XDG_CONFIG_HOME", tree.path("config").constData(), 1);
    setenv("XDG_STATE_HOME", tree.path("state").constData(), 1);
    qtbind::QtApplication app;
    dosfs::DriveTable drives;
    drives.set(u'C', tree.root());
    dosfs::FileSystem fs(drives);
    shell::Form1 form(app, fs);
    qtbind::FormWindow window(form);
    form.load();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.isVisible());
    window.resize(window.width() + 100, window.height() + 40);
    QCoreApplication::processEvents();
    window.close();
    EXPECT_TRUE(app.ended());
    QFile f(QString::fromUtf8(tree.path("config/tolan/settings")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("0,0,9645,13545,C:\\,01065,02985,04140,02055,0\r\n\r\n"));
}
