#pragma once

#include "volume_file.h"

#include <cstdint>
#include <optional>

namespace unrar {

// Self-extracting modules put up to a few MiB of program in front of the archive.
constexpr std::uint64_t kSignatureSearchLimit = 4u << 20;

struct Signature {
    std::uint64_t offset = 0;
    int generation = 0; // 4, 5, or 0 for a RAR signature of a later, unknown format version
    std::uint64_t size = 0;
};

// The first RAR signature at or after `from` that starts within the search limit.
std::optional<Signature> FindSignature(const VolumeFile& file, std::uint64_t from);

// The RAR 1.4 signature, which only ever stands at the very start.
bool HasRar14Signature(const VolumeFile& file);

} // namespace unrar
