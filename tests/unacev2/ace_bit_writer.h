#pragma once

#include "huffman.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tw::test::ace {

// Builds ACE bit streams for tests: bits go into little-endian 32-bit words from the most
// significant down, the way the decoder reads them. Codes are taken from the decoder's own
// table builder, so a stream uses exactly the codes a table transmits.
class BitWriter {
public:
    void Put(std::uint32_t value, unsigned bits) {
        for (unsigned i = bits; i-- > 0;) {
            word_ = (word_ << 1) | ((value >> i) & 1u);
            if (++used_ == 32)
                FlushWord();
        }
    }
    void PutGolombRice(std::uint32_t value, unsigned k) {
        Put(value & ((1u << k) - 1), k);
        for (std::uint32_t q = value >> k; q > 0; --q)
            Put(1, 1);
        Put(0, 1);
    }
    std::vector<std::uint8_t> Finish() {
        while (used_ != 0)
            Put(0, 1);
        return bytes_;
    }

private:
    void FlushWord() {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(word_ >> (8 * i)));
        word_ = 0;
        used_ = 0;
    }
    std::vector<std::uint8_t> bytes_;
    std::uint32_t word_ = 0;
    unsigned used_ = 0;
};

// A transmitted Huffman table and the codes it gives.
class TableWriter {
public:
    TableWriter(std::vector<std::uint8_t> widths, unsigned maxWidth)
        : widths_(std::move(widths)), maxWidth_(maxWidth) {
        table_.Build(widths_.data(), static_cast<unsigned>(widths_.size()), maxWidth_);
    }

    // Sends the widths as a table: no offset, differences modulo 15, zero runs as symbol 15.
    void Transmit(BitWriter& w) const {
        w.Put(static_cast<std::uint32_t>(widths_.size() - 1), 9);
        w.Put(0, 4);
        w.Put(15, 4);
        std::vector<std::uint8_t> alphabet(16, 4);
        for (unsigned i = 0; i < 16; ++i)
            w.Put(4, 3);
        const TableWriter widthCodes(alphabet, 7);
        std::vector<unsigned> diffs;
        for (std::size_t i = 0; i < widths_.size(); ++i)
            diffs.push_back(i == 0 ? widths_[0] : (widths_[i] + 15 - widths_[i - 1]) % 15);
        for (std::size_t i = 0; i < diffs.size();) {
            std::size_t run = 0;
            while (i + run < diffs.size() && diffs[i + run] == 0 && run < 19)
                ++run;
            if (run >= 4) {
                widthCodes.Emit(w, 15);
                w.Put(static_cast<std::uint32_t>(run - 4), 4);
                i += run;
            } else {
                widthCodes.Emit(w, diffs[i]);
                ++i;
            }
        }
    }

    void Emit(BitWriter& w, unsigned symbol) const {
        for (unsigned slot = 0; slot < (1u << maxWidth_); ++slot) {
            if (table_.SymbolAt(slot) == symbol) {
                const unsigned width = table_.WidthAt(slot);
                w.Put(slot >> (maxWidth_ - widths_[symbol]), width);
                return;
            }
        }
        throw std::logic_error("symbol without a code");
    }

private:
    std::vector<std::uint8_t> widths_;
    unsigned maxWidth_;
    unacev2::HuffmanTable table_;
};

} // namespace tw::test::ace
