#include "file_selection.h"

#include <cctype>

namespace unacev2 {
namespace {

std::string Normalised(std::string_view text) {
    std::string out;
    for (char c : text)
        out.push_back(c == '\\' ? '/' : c);
    while (!out.empty() && out.front() == '/')
        out.erase(out.begin());
    while (!out.empty() && out.back() == '/')
        out.pop_back();
    return out;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i]))
            return false;
    }
    return true;
}

} // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text) {
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

FileSelection::FileSelection(const char* sourceFolder, const char* fileList, bool fullPathMatching)
    : fullPath_(fullPathMatching) {
    if (sourceFolder != nullptr) {
        folder_ = Normalised(sourceFolder);
        if (!folder_.empty())
            folder_ += '/';
    }
    if (fileList != nullptr) {
        std::string_view list(fileList);
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find_first_of("\r\n", start), list.size());
            std::string item = Normalised(list.substr(start, end - start));
            if (!item.empty())
                patterns_.push_back(std::move(item));
            start = end + 1;
        }
    }
}

bool FileSelection::Selects(std::string_view name) const {
    if (!StartsWithNoCase(name, folder_))
        return false;
    const std::string_view rel = name.substr(folder_.size());
    if (patterns_.empty())
        return true;
    const std::size_t slash = rel.find_last_of('/');
    const std::string_view leaf = slash == std::string_view::npos ? rel : rel.substr(slash + 1);
    for (const auto& pattern : patterns_) {
        const bool whole = fullPath_ || pattern.find('/') != std::string::npos;
        if (WildcardMatch(pattern, whole ? rel : leaf))
            return true;
        // A folder named in the list brings everything below it.
        if (rel.size() > pattern.size() && rel[pattern.size()] == '/' &&
            WildcardMatch(pattern, rel.substr(0, pattern.size())))
            return true;
    }
    return false;
}

} // namespace unacev2
