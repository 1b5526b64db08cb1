#pragma once

#include "options.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace unzip32 {

// Anchored wildcard match: "*" any run of characters ("/" included), "?" any one character.
bool WildcardMatches(std::string_view pattern, std::string_view name, bool caseInsensitive);

// Which entries a call handles: the include names pick, the exclude names drop (extract only).
class EntrySelection {
public:
    explicit EntrySelection(const RunOptions& options);

    bool Selected(const std::string& name);
    bool Excluded(const std::string& name) const;
    // Include names that matched no entry so far.
    std::vector<std::string> Unmatched() const;

private:
    const RunOptions& options_;
    std::vector<bool> matched_;
};

// Where an entry goes below the destination, or nothing when its name would leave it.
std::optional<std::string> OutputPathFor(const std::string& entryName, const RunOptions& options);

} // namespace unzip32
