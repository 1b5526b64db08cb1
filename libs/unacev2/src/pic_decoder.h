#pragma once

#include "bit_reader.h"
#include "decode_status.h"

#include <cstdint>
#include <vector>

namespace unacev2 {

// ACE 2.0's PIC mode: rows of interleaved planes, each pixel predicted from its neighbours in a
// context chosen by the local gradients, residuals Golomb-Rice coded with adaptive parameters.
class PicDecoder {
public:
    // Widest row accepted; the format has no limit, memory has.
    static constexpr std::uint32_t kMaxWidth = 1u << 20;

    // Reads the mode's header (width and plane count) and starts from an all-zero row.
    DecodeStatus Init(BitReader& in);
    // Reads the flag before a row: switched = true when a mode descriptor follows instead.
    DecodeStatus NextRow(BitReader& in, bool& switched);

    const std::uint8_t* Row() const { return row_.data(); }
    std::size_t Width() const { return width_; }

private:
    struct Context {
        int used = 0;
        int avg = 4;
        int pred = 0;
        int err[4] = {};
    };

    DecodeStatus DecodePlane(BitReader& in, unsigned plane);
    int Above(std::size_t x) const { return x < width_ ? prev_[x] : 0; }

    std::size_t width_ = 0;
    unsigned planes_ = 1;
    std::vector<std::uint8_t> prev_;
    std::vector<std::uint8_t> row_;
    Context contexts_[2][365];
};

// Golomb-Rice code with parameter k; -1 when the value grows past `limit`.
std::int64_t ReadGolombRice(BitReader& in, unsigned k, std::int64_t limit);

} // namespace unacev2
