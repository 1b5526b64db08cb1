#pragma once

#include "bit_reader.h"

#include <array>
#include <cstdint>
#include <vector>

namespace unacev2 {

// A decoding table: peek maxWidth bits, look up the symbol, consume its width. Slots that no
// code covers decode as kInvalidSymbol, which every caller treats as corruption.
class HuffmanTable {
public:
    static constexpr unsigned kMaxWidth = 11;
    static constexpr std::uint16_t kInvalidSymbol = 0xFFFF;

    // Widths per symbol (0 = unused). False for widths above maxWidth or an overfull table.
    bool Build(const std::uint8_t* widths, unsigned count, unsigned maxWidth);

    std::uint16_t Decode(BitReader& in) const {
        in.Ensure();
        const std::uint32_t e = slots_[in.Peek(maxWidth_)];
        in.Skip(e >> 16);
        return static_cast<std::uint16_t>(e);
    }

    // For tests: the symbol and the bits consumed at a slot.
    std::uint16_t SymbolAt(unsigned slot) const { return static_cast<std::uint16_t>(slots_[slot]); }
    unsigned WidthAt(unsigned slot) const { return slots_[slot] >> 16; }

private:
    unsigned maxWidth_ = 1;
    std::array<std::uint32_t, 1u << kMaxWidth> slots_{};
};

// The order ACE's table builder gives equal widths: a particular unstable quicksort, descending
// by width. Codes depend on it, so it is reproduced exactly. Sorts keys and symbols together.
void SortByWidthDescending(std::uint8_t* keys, std::uint16_t* symbols, int count);

// Reads one transmitted table (alphabet size symbols, at most maxWidth bits per code).
bool ReadHuffmanTable(BitReader& in, unsigned symbols, unsigned maxWidth, HuffmanTable& table);

} // namespace unacev2
