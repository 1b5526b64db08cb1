#include "twlib/safe_path.h"

#include <vector>

namespace twlib {
namespace {

std::vector<std::string_view> Parts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos)
            end = path.size();
        const auto part = path.substr(start, end - start);
        if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsAbsolute(std::string_view path) {
    return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

} // namespace

std::optional<std::string> SafeRelativePath(std::string_view entryName) {
    if (IsAbsolute(entryName) || HasDriveLetter(entryName) ||
        entryName.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string joined;
    for (const auto part : Parts(entryName)) {
        if (part == "..")
            return std::nullopt;
        if (!joined.empty())
            joined += '/';
        joined += part;
    }
    if (joined.empty())
        return std::nullopt;
    return joined;
}

bool LinkTargetStaysInside(std::string_view linkPath, std::string_view target) {
    if (target.empty() || IsAbsolute(target) || HasDriveLetter(target))
        return false;
    auto resolved = Parts(linkPath);
    if (resolved.empty())
        return false;
    resolved.pop_back();
    for (const auto part : Parts(target)) {
        if (part != "..") {
            resolved.push_back(part);
        } else if (resolved.empty()) {
            return false;
        } else {
            resolved.pop_back();
        }
    }
    return true;
}

} // namespace twlib
