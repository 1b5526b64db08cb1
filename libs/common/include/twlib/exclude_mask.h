#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twlib {

// The exclusion rule every library shares with the program: case-insensitive (ASCII) substring
// patterns. A mask is cut at every '*' and its non-empty pieces are looked for anywhere in the
// name; any piece found excludes the name. A mask without '*' excludes when it occurs anywhere.
// A mask made only of '*' excludes nothing.
bool MatchesMask(std::string_view name, std::string_view mask);
bool MatchesAnyMask(std::string_view name, const std::vector<std::string>& masks);

// Splits a mask list at `separator`, dropping empty masks.
std::vector<std::string> SplitMasks(std::string_view list, char separator);

} // namespace twlib
