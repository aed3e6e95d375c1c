// Test programs of the Qt binding: an offscreen QApplication, UTC, and a
// temporary home as in every other test program.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TZ", "UTC", 1);
    tzset();
    char pattern[] = "/tmp/tolan-home-XXXXXX";
    if (const char* home = mkdtemp(pattern)) {
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
        setenv("XDG_STATE_HOME", (std::string(home) + "/state").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home, 1);
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::system((std::string("rm -rf '") + pattern + "'").c_str());
    return status;
}
