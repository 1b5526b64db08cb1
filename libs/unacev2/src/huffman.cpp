#include "huffman.h"

#include <utility>

namespace unacev2 {
namespace {

void SwapEntries(std::uint8_t* keys, std::uint16_t* symbols, int a, int b) {
    std::swap(keys[a], keys[b]);
    std::swap(symbols[a], symbols[b]);
}

void SortRange(std::uint8_t* keys, std::uint16_t* symbols, int lo, int hi) {
    const std::uint8_t pivot = keys[hi];
    int i = lo;
    int j = hi;
    do {
        while (i < hi && keys[i] > pivot)
            ++i;
        while (j > lo && keys[j] < pivot)
            --j;
        if (i <= j) {
            SwapEntries(keys, symbols, i, j);
            ++i;
            --j;
        }
    } while (i < j);
    if (lo < j) {
        if (lo < j - 1)
            SortRange(keys, symbols, lo, j);
        else if (keys[lo] < keys[j])
            SwapEntries(keys, symbols, lo, j);
    }
    if (i < hi) {
        if (i < hi - 1)
            SortRange(keys, symbols, i, hi);
        else if (keys[i] < keys[hi])
            SwapEntries(keys, symbols, i, hi);
    }
}

} // namespace

void SortByWidthDescending(std::uint8_t* keys, std::uint16_t* symbols, int count) {
    if (count > 1)
        SortRange(keys, symbols, 0, count - 1);
}

bool HuffmanTable::Build(const std::uint8_t* widths, unsigned count, unsigned maxWidth) {
    if (maxWidth == 0 || maxWidth > kMaxWidth || count == 0 || count > 1024)
        return false;
    std::uint8_t keys[1024];
    std::uint16_t symbols[1024];
    for (unsigned i = 0; i < count; ++i) {
        if (widths[i] > maxWidth)
            return false;
        keys[i] = widths[i];
        symbols[i] = static_cast<std::uint16_t>(i);
    }
    SortByWidthDescending(keys, symbols, static_cast<int>(count));

    unsigned used = 0;
    while (used < count && keys[used] != 0)
        ++used;
    // A table with fewer than two codes still decodes its first symbol, one bit long.
    std::uint8_t consumed[1024];
    for (unsigned i = 0; i < used; ++i)
        consumed[i] = keys[i];
    if (used < 2) {
        consumed[0] = 1;
        used = 1;
    }

    maxWidth_ = maxWidth;
    const unsigned total = 1u << maxWidth;
    unsigned next = 0;
    for (unsigned k = used; k-- > 0;) {
        const unsigned span = 1u << (maxWidth - keys[k]);
        if (span > total - next)
            return false;
        const std::uint32_t entry = (static_cast<std::uint32_t>(consumed[k]) << 16) | symbols[k];
        for (unsigned s = 0; s < span; ++s)
            slots_[next + s] = entry;
        next += span;
    }
    for (; next < total; ++next)
        slots_[next] = kInvalidSymbol;
    return true;
}

bool ReadHuffmanTable(BitReader& in, unsigned symbols, unsigned maxWidth, HuffmanTable& table) {
    unsigned count = in.Read(9) + 1;
    if (count > symbols + 1)
        count = symbols + 1;
    const unsigned low = in.Read(4);
    const unsigned high = in.Read(4);

    std::uint8_t widthWidths[16];
    for (unsigned i = 0; i <= high; ++i)
        widthWidths[i] = static_cast<std::uint8_t>(in.Read(3));
    HuffmanTable widthTable;
    if (!widthTable.Build(widthWidths, high + 1, 7))
        return false;

    std::uint8_t widths[1024];
    unsigned n = 0;
    while (n < count) {
        const std::uint16_t s = widthTable.Decode(in);
        if (in.Overrun() || s > high)
            return false;
        if (s < high) {
            widths[n++] = static_cast<std::uint8_t>(s);
        } else {
            unsigned run = in.Read(4) + 4;
            while (run-- > 0 && n < count)
                widths[n++] = 0;
        }
    }
    if (high > 0) {
        for (unsigned i = 1; i < count; ++i)
            widths[i] = static_cast<std::uint8_t>((widths[i] + widths[i - 1]) % high);
    }
    for (unsigned i = 0; i < count; ++i) {
        if (widths[i] != 0)
            widths[i] = static_cast<std::uint8_t>(widths[i] + low);
    }
    return !in.Overrun() && table.Build(widths, count, maxWidth);
}

} // namespace unacev2
