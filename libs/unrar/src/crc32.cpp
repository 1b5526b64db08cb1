#include "crc32.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

namespace unrar {

// zlib's CRC-32 is the same checksum, computed several bytes at a time.
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const Bytef*>(data);
    uLong value = crc;
    while (size > 0) {
        const auto step = static_cast<uInt>(std::min<std::size_t>(size, UINT_MAX));
        value = crc32(value, bytes, step);
        bytes += step;
        size -= step;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace unrar
