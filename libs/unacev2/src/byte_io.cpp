#include "byte_io.h"

#include <algorithm>
#include <cstring>

namespace unacev2 {

std::ptrdiff_t MemorySource::Read(std::uint8_t* dst, std::size_t size) {
    const std::size_t n = std::min(size, left_);
    if (n > 0)
        std::memcpy(dst, data_, n);
    data_ += n;
    left_ -= n;
    return static_cast<std::ptrdiff_t>(n);
}

} // namespace unacev2
