// Closing the real main window through Qt saves the settings.

#include "app/program.h"
#include "tests/support/program_fixture.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(MainWindowClose, TheCloseBoxSavesTheWindowsGeometry) {
    TempTree tree;
    SettingsFolders folders(tree);
    dosfs::DriveTable drives;
    drives.set(u'C', tree.root());
    app::Program program(drives);
    qtbind::FormWindow& window = program.window;
    program.load();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.isVisible());
    window.resize(window.width() + 100, window.height() + 40);
    QCoreApplication::processEvents();
    window.close();
    EXPECT_TRUE(program.qt.ended());
    QFile f(QString::fromUtf8(tree.path("config/tolan/settings")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("0,0,9645,13545,C:\\,01065,02985,04140,02055,0\r\n\r\n"));
}
