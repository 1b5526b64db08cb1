#include "entry_selection.h"

#include "twlib/exclude_mask.h"
#include "twlib/safe_path.h"

#include <algorithm>

namespace unzip32 {
namespace {

char Fold(char c, bool caseInsensitive) {
    return caseInsensitive && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool WildcardMatches(std::string_view pattern, std::string_view name, bool caseInsensitive) {
    // Greedy match with one backtracking point: linear in practice, never exponential.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' ||
                    Fold(pattern[p], caseInsensitive) == Fold(name[n], caseInsensitive))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

EntrySelection::EntrySelection(const RunOptions& options)
    : options_(options), matched_(options.includeNames.size(), false) {}

bool EntrySelection::Selected(const std::string& name) {
    if (options_.includeNames.empty())
        return true;
    bool selected = false;
    for (std::size_t i = 0; i < options_.includeNames.size(); ++i) {
        if (WildcardMatches(options_.includeNames[i], name, options_.caseInsensitive)) {
            matched_[i] = true;
            selected = true;
        }
    }
    return selected;
}

bool EntrySelection::Excluded(const std::string& name) const {
    return twlib::MatchesAnyMask(name, options_.excludeNames);
}

std::vector<std::string> EntrySelection::Unmatched() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < matched_.size(); ++i)
        if (!matched_[i])
            names.push_back(options_.includeNames[i]);
    return names;
}

std::optional<std::string> OutputPathFor(const std::string& entryName, const RunOptions& options) {
    auto path = twlib::SafeRelativePath(entryName);
    if (!path)
        return std::nullopt;
    if (!options.recreateFolders)
        path = path->substr(path->rfind('/') + 1);
    if (options.spaceToUnderscore)
        std::replace(path->begin(), path->end(), ' ', '_');
    return path;
}

} // namespace unzip32
