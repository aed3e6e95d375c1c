#pragma once
// Every test program runs in UTC with its home, settings and state folders
// in a temporary folder, so no test reads or writes the real home.

#include <string>

// Returns the temporary home; removeTestHome() deletes it at the end.
std::string prepareTestEnvironment();
void removeTestHome(const std::string& home);
