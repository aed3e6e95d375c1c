// Test programs of the Qt binding run with an offscreen QApplication.

#include "tests/support/test_environment.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    // On a screen with room for the window at every scale factor (the
    // offscreen one's 800 x 600 pixels would have it open smaller); a run
    // may name a screen of its own.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || std::string(platform) == "offscreen")
        setenv("QT_QPA_PLATFORM", "offscreen:configfile=" TOLAN_TEST_SCREENS "/desk.json", 1);
    const std::string home = prepareTestEnvironment();
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    removeTestHome(home);
    return status;
}
