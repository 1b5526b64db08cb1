#pragma once

#include "central_directory.h"

#include <cstdint>
#include <string>

namespace unzip32 {

// The largest dictionary an entry may declare. libarchive allocates whatever an LZMA header
// asks for, and a small hostile entry could make it fill gigabytes; 7-Zip's strongest ZIP
// preset uses 64 MiB.
constexpr std::uint64_t kMaxDictionarySize = 256u << 20;

// Whether decoding the entry stays within the limit, by what its data declares up front.
bool DeclaredMemoryWithinLimits(const std::string& archivePath, const CentralRecord& record);

} // namespace unzip32
