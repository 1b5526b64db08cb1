#pragma once

#include <filesystem>
#include <string>

namespace tw::test {

// The repository's source folder and the folder holding the program and its libraries.
std::filesystem::path SourceDir();
std::filesystem::path BinDir();

// ../shared/fixtures/<sub> beside the repository, or empty when it is absent.
std::filesystem::path SharedFixtures(const std::string& sub);

// Writes `bytes` to `path`, creating its folders.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

} // namespace tw::test

// Skips the current test when the shared fixture folder is missing.
#define TW_REQUIRE_SHARED_FIXTURES(dirVar, sub)                                                    \
    const auto dirVar = ::tw::test::SharedFixtures(sub);                                           \
    if (dirVar.empty())                                                                            \
    GTEST_SKIP() << "../shared/fixtures/" << (sub) << " is not present"
