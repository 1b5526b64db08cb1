#include "exe_filter.h"

#include <cstring>

namespace unacev2 {
namespace {

void Sub16(std::uint8_t* p, std::uint64_t pos) {
    const unsigned v = static_cast<unsigned>(p[0] | (p[1] << 8)) - static_cast<unsigned>(pos);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Sub32(std::uint8_t* p, std::uint64_t pos) {
    const std::uint32_t v =
        (static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24)) -
        static_cast<std::uint32_t>(pos);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

std::size_t ExeFilter::Convert(std::uint8_t* buf, std::size_t size, std::uint64_t base,
                               unsigned exeMode) {
    std::size_t i = 0;
    while (i + 5 <= size) {
        const std::uint8_t op = buf[i];
        if (op == 0xE8 && exeMode == 1) {
            Sub32(buf + i + 1, base + i);
            i += 5;
        } else if (op == 0xE8 || op == 0xE9) {
            Sub16(buf + i + 1, base + i);
            i += 3;
        } else {
            ++i;
        }
    }
    return i;
}

bool ExeFilter::Process(const std::uint8_t* data, std::size_t size, std::uint64_t offset,
                        unsigned exeMode, bool runEnds, ByteSink& out) {
    const std::size_t heldSize = held_.size();
    work_.resize(heldSize + size);
    if (heldSize > 0)
        std::memcpy(work_.data(), held_.data(), heldSize);
    if (size > 0)
        std::memcpy(work_.data() + heldSize, data, size);
    const std::size_t total = work_.size();
    const std::size_t done = Convert(work_.data(), total, offset - heldSize, exeMode);
    const std::size_t emit = runEnds ? total : done;
    held_.assign(work_.begin() + static_cast<std::ptrdiff_t>(emit), work_.end());
    return emit == 0 || out.Write(work_.data(), emit);
}

bool ExeFilter::Finish(ByteSink& out) {
    if (held_.empty())
        return true;
    const bool ok = out.Write(held_.data(), held_.size());
    held_.clear();
    return ok;
}

bool DeltaDecode(const std::uint8_t* in, std::size_t size, unsigned distance, std::uint8_t& last,
                 std::uint8_t* out) {
    if (distance == 0 || size % distance != 0)
        return false;
    const std::size_t planeSize = size / distance;
    std::uint8_t sum = last;
    for (std::size_t plane = 0; plane < distance; ++plane) {
        const std::uint8_t* src = in + plane * planeSize;
        for (std::size_t k = 0; k < planeSize; ++k) {
            sum = static_cast<std::uint8_t>(sum + src[k]);
            out[k * distance + plane] = sum;
        }
    }
    last = sum;
    return true;
}

} // namespace unacev2
