#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twlib {

// The entry name as a relative path with "/" between its parts, or nothing when the name would
// leave the destination: absolute names, drive letters, ".." parts, NUL bytes, or no name at all.
// Backslashes count as separators and "." parts are dropped.
std::optional<std::string> SafeRelativePath(std::string_view entryName);

// Whether a symbolic link stored at `linkPath` (a SafeRelativePath result) with `target` resolves,
// by its text alone, to a place inside the destination.
bool LinkTargetStaysInside(std::string_view linkPath, std::string_view target);

} // namespace twlib
