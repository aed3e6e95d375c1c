#include "tests/support/test_environment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const std::string home = prepareTestEnvironment();
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    removeTestHome(home);
    return status;
}
