#pragma once

#include "byte_io.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace unacev2 {

inline std::uint32_t LoadLe32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    return v;
}

// ACE packs its bit streams as little-endian 32-bit words and takes each word's bits from the
// most significant down. Past the end the reader delivers zero bits; once more than a word of
// those has been consumed the stream counts as overrun, which a decoder treats as corruption
// (it also ends every loop that the zero bits could otherwise keep going).
class BitReader {
public:
    explicit BitReader(ByteSource& source) : source_(source) {}
    BitReader(const BitReader&) = delete;
    BitReader& operator=(const BitReader&) = delete;

    // Makes at least 32 bits available to Peek and Skip.
    void Ensure() {
        if (avail_ < 32)
            Refill();
    }
    // n in 1..32; needs Ensure.
    std::uint32_t Peek(unsigned n) const { return static_cast<std::uint32_t>(bits_ >> (64 - n)); }
    void Skip(unsigned n) {
        bits_ <<= n;
        avail_ -= static_cast<int>(n);
    }
    // n in 0..32.
    std::uint32_t Read(unsigned n) {
        if (n == 0)
            return 0;
        Ensure();
        const std::uint32_t v = Peek(n);
        Skip(n);
        return v;
    }
    std::uint32_t ReadBit() { return Read(1); }

    bool Overrun() const { return paddingWords_ > 3; }
    bool ReadFailed() const { return readFailed_; }

private:
    void Refill();
    bool FetchMore();

    static constexpr std::size_t kBufferSize = 1 << 16;

    ByteSource& source_;
    std::uint64_t bits_ = 0;
    int avail_ = 0;
    std::uint8_t* cur_ = buffer_;
    std::uint8_t* end_ = buffer_;
    bool sourceEnded_ = false;
    bool readFailed_ = false;
    unsigned paddingWords_ = 0;
    std::uint8_t buffer_[kBufferSize];
};

} // namespace unacev2
