#pragma once

#include <filesystem>

namespace tw::test {

// The folders of the test that is running now; each test gets fresh ones.
struct TempHome {
    std::filesystem::path root;
    std::filesystem::path config; // XDG_CONFIG_HOME
    std::filesystem::path data;   // XDG_DATA_HOME
    std::filesystem::path work;   // the current directory while the test runs
};

const TempHome& CurrentHome();

// Creates fresh folders, points the XDG variables, HOME and TMPDIR at them and enters `work`.
void EnterFreshHome();
void LeaveHome();

} // namespace tw::test
