#pragma once

#include <cstddef>
#include <cstdint>

namespace unrar {

// CRC-32 (IEEE, reflected), the checksum of RAR headers and data. Feed with the previous result
// to continue over several blocks; start from 0.
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size);

} // namespace unrar
