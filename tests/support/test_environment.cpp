#include "tests/support/test_environment.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

std::string prepareTestEnvironment() {
    setenv("TZ", "UTC", 1);
    tzset();
    char pattern[] = "/tmp/tolan-home-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (!home) return std::string();
    setenv("HOME", home, 1);
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (std::string(home) + "/state").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home, 1);
    return home;
}

void removeTestHome(const std::string& home) {
    if (home.empty()) return;
    if (std::system(("rm -rf '" + home + "'").c_str()) != 0)
        std::fprintf(stderr, "could not remove the test home %s\n", home.c_str());
}
