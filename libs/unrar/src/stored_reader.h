#pragma once

#include "header_walker.h"

#include <cstddef>
#include <functional>

namespace unrar {

// Stored entries are their data areas, part after part; reading them needs no decoder, and
// libarchive's readers do not follow every stored entry across volumes.
int ReadStoredData(const std::vector<ResolvedVolume>& volumes, const std::vector<DataPart>& parts,
                   const std::function<int(const void*, std::size_t)>& sink);

} // namespace unrar
