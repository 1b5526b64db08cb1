#include "crc32.h"

#include <array>
#include <cstring>

namespace unacev2 {
namespace {

// Slicing by eight: the file CRC runs over every output byte, so it has to keep up with LZ77.
struct CrcTables {
    std::array<std::array<std::uint32_t, 256>, 8> t{};
    constexpr CrcTables() {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            t[0][i] = c;
        }
        for (std::size_t i = 0; i < 256; ++i)
            for (std::size_t s = 1; s < 8; ++s)
                t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFFu];
    }
};

constexpr CrcTables kTables;

} // namespace

std::uint32_t AceCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
    const auto& t = kTables.t;
    while (size >= 8) {
        std::uint32_t lo;
        std::uint32_t hi;
        std::memcpy(&lo, data, 4);
        std::memcpy(&hi, data + 4, 4);
        lo ^= crc;
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
              t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        data += 8;
        size -= 8;
    }
    while (size-- > 0)
        crc = (crc >> 8) ^ t[0][(crc ^ *data++) & 0xFFu];
    return crc;
}

} // namespace unacev2
