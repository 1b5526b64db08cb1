#pragma once

#include <optional>
#include <string>

namespace unrar {

// The archive comment of a volume: the "CMT" service block in front of the first entry, when it
// is stored and not encrypted (this library has no decoder of its own for compressed comments).
// At most `limit` bytes are read.
std::optional<std::string> ReadArchiveComment(const std::string& volumePath, std::size_t limit);

} // namespace unrar
