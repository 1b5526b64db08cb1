#include "support/temp_home.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace tw::test {
namespace {

TempHome current;

// Taken before the first test points TMPDIR into its own folder.
const std::filesystem::path& SystemTemp() {
    static const std::filesystem::path temp = std::filesystem::temp_directory_path();
    return temp;
}

std::filesystem::path MakeRoot() {
    std::string pattern = (SystemTemp() / "tw-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

} // namespace

const TempHome& CurrentHome() {
    return current;
}

void EnterFreshHome() {
    LeaveHome();
    current.root = MakeRoot();
    current.config = current.root / "config";
    current.data = current.root / "data";
    current.work = current.root / "work";
    for (const auto& dir : {current.config, current.data, current.work, current.root / "tmp"})
        std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", current.config.c_str(), 1);
    setenv("XDG_DATA_HOME", current.data.c_str(), 1);
    setenv("XDG_CACHE_HOME", (current.root / "cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (current.root / "tmp").c_str(), 1);
    setenv("HOME", current.root.c_str(), 1);
    setenv("TMPDIR", (current.root / "tmp").c_str(), 1);
    std::filesystem::current_path(current.work);
}

void LeaveHome() {
    if (current.root.empty())
        return;
    std::error_code ignored;
    std::filesystem::current_path(SystemTemp(), ignored);
    std::filesystem::remove_all(current.root, ignored);
    current = {};
}

} // namespace tw::test
