#pragma once

#include <cstddef>
#include <cstdint>

namespace unacev2 {

// ACE's CRC-32: the reflected 0xEDB88320 polynomial from 0xFFFFFFFF without the final
// inversion, so it is the complement of the zlib value. Header checks use its low 16 bits.
constexpr std::uint32_t kAceCrcInit = 0xFFFFFFFFu;

std::uint32_t AceCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

inline std::uint16_t AceHeaderCrc(const std::uint8_t* data, std::size_t size) {
    return static_cast<std::uint16_t>(AceCrc32(kAceCrcInit, data, size) & 0xFFFFu);
}

} // namespace unacev2
