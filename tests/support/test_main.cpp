// Every test program runs in UTC with its home, settings and state folders
// in a temporary folder, so no test reads or writes the real home.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    char pattern[] = "/tmp/tolan-home-XXXXXX";
    if (const char* home = mkdtemp(pattern)) {
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
        setenv("XDG_STATE_HOME", (std::string(home) + "/state").c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::system((std::string("rm -rf '") + pattern + "'").c_str());
    return status;
}
