#pragma once

#include "unacev2.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tw::test::ace {

// One callback as the library made it.
struct Call {
    std::string routine; // "info", "error", "request", "state"
    std::uint32_t type = 0;
    std::uint32_t code = 0;
    std::uint32_t operation = 0;
    std::string archive;
    std::string entry;
    std::string target;
    std::uint32_t attributes = 0;
};

// Installs recording callback routines in the library and answers them as a test says.
class Harness {
public:
    Harness();
    ~Harness();

    std::vector<Call> calls;
    // Answer of the state routine per entry (default OK).
    std::function<std::int32_t(const Call&)> stateAnswer;
    std::int32_t overwriteAnswer = ACE_ANSWER_OK;
    std::int32_t volumeAnswer = ACE_ANSWER_OK;
    std::int32_t errorAnswer = ACE_ANSWER_OK;
    std::int32_t infoAnswer = ACE_ANSWER_OK;
    // Given when the library asks; not set means the routine leaves the password alone.
    const char* passwordToGive = nullptr;

    std::int32_t List(const std::filesystem::path& archive);
    std::int32_t Test(const std::filesystem::path& archive, const char* password = "");
    std::int32_t Extract(const std::filesystem::path& archive, const std::filesystem::path& dest,
                         const char* password = "", const char* excludeList = "",
                         const char* fileList = "");

    std::vector<Call> Find(const std::string& routine, std::uint32_t code) const;

    static std::int32_t Dispatch(const char* routine, AceCallbackRecord* record);

private:
    std::int32_t Answer(const char* routine, AceCallbackRecord* record);
};

// MD5 of every regular file below root, by relative path with "/".
std::map<std::string, std::string> Md5Tree(const std::filesystem::path& root);
// Every folder below root, by relative path.
std::vector<std::string> FolderTree(const std::filesystem::path& root);
std::string Md5Hex(const std::string& bytes);

} // namespace tw::test::ace
