#pragma once

#include <string>
#include <vector>

namespace unacev2 {

// Candidate names of the volume that follows volume `volumeNumber` of the set `path` belongs
// to: the extension becomes C00, C01, … C99, then 100, 101, …; the case that matches the
// current extension first, then the other.
std::vector<std::string> NextVolumeNames(const std::string& path, unsigned volumeNumber);

} // namespace unacev2
