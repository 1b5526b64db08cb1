#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace unacev2 {

// Which entries an operation works on: those below the source folder that match the file list
// (all of them when the list is empty). Names use "/" between folders.
class FileSelection {
public:
    FileSelection(const char* sourceFolder, const char* fileList, bool fullPathMatching);
    bool Selects(std::string_view name) const;
    bool SelectsEverything() const { return patterns_.empty() && folder_.empty(); }

private:
    std::string folder_; // "" or "a/b/"
    std::vector<std::string> patterns_;
    bool fullPath_;
};

// Case-insensitive (ASCII) wildcard match: "*" any run, "?" one character.
bool WildcardMatch(std::string_view pattern, std::string_view text);

} // namespace unacev2
