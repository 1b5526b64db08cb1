#include "pic_decoder.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace unacev2 {
namespace {

constexpr std::int64_t kMaxResidualCode = 1 << 16;

int BitLength(unsigned v) {
    return static_cast<int>(std::bit_width(v));
}

int Signed8(int v) {
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(v & 0xFF));
}

// Quantised gradient, -4..4.
int Quantise(int d) {
    const int m = std::abs(d);
    const int q = m == 0 ? 0 : m <= 2 ? 1 : m <= 6 ? 2 : m <= 20 ? 3 : 4;
    return d < 0 ? -q : q;
}

int ErrorWeight(int y) {
    return BitLength(static_cast<unsigned>(y >= 0 ? 2 * y : -2 * y - 1));
}

int Transform(unsigned type, int v, int ref) {
    if (type == 0)
        return v;
    if (type == 1)
        return (128 + v - ref) & 0xFF;
    return (128 + v - ((11 * ref) >> 4)) & 0xFF;
}

} // namespace

std::int64_t ReadGolombRice(BitReader& in, unsigned k, std::int64_t limit) {
    std::int64_t v = in.Read(k);
    while (in.ReadBit() == 1) {
        v += std::int64_t{1} << k;
        if (v > limit || in.Overrun())
            return -1;
    }
    return v;
}

DecodeStatus PicDecoder::Init(BitReader& in) {
    const std::int64_t width = ReadGolombRice(in, 12, kMaxWidth);
    const std::int64_t planes = ReadGolombRice(in, 2, 1 << 12);
    if (width <= 0 || planes <= 0 || planes > width || in.Overrun())
        return DecodeStatus::Corrupt;
    width_ = static_cast<std::size_t>(width);
    planes_ = static_cast<unsigned>(planes);
    prev_.assign(width_, 0);
    row_.assign(width_, 0);
    for (auto& set : contexts_)
        std::fill(std::begin(set), std::end(set), Context{});
    return DecodeStatus::Ok;
}

DecodeStatus PicDecoder::NextRow(BitReader& in, bool& switched) {
    switched = in.ReadBit() == 0;
    if (in.Overrun())
        return DecodeStatus::Corrupt;
    if (switched)
        return DecodeStatus::Ok;
    prev_.swap(row_);
    for (unsigned p = 0; p < planes_; ++p) {
        const DecodeStatus st = DecodePlane(in, p);
        if (st != DecodeStatus::Ok)
            return st;
    }
    return DecodeStatus::Ok;
}

DecodeStatus PicDecoder::DecodePlane(BitReader& in, unsigned plane) {
    const unsigned type = plane == 0 ? 0 : in.Read(2);
    if (type == 3)
        return DecodeStatus::Corrupt;
    Context* const set = contexts_[plane == 0 ? 0 : 1];
    const int start = type == 0 ? 0 : 128;
    int a = start;
    int b = start;
    int c = start;
    int x = start;
    int d = Transform(type, Above(plane), plane > 0 ? Above(plane - 1) : 0);
    for (std::size_t pos = plane; pos < width_; pos += planes_) {
        c = a;
        a = d;
        b = x;
        d = Transform(type, Above(pos + planes_), Above(pos + planes_ - 1));

        Context& cx = set[std::abs(81 * Quantise(d - a) + 9 * Quantise(a - c) + Quantise(c - b))];
        ++cx.used;
        const unsigned k =
            static_cast<unsigned>(BitLength(static_cast<unsigned>(cx.avg / cx.used)));
        const std::int64_t v = ReadGolombRice(in, k, kMaxResidualCode);
        if (v < 0 || in.Overrun())
            return DecodeStatus::Corrupt;
        const int code = static_cast<int>(v);
        const int eps = (code & 1) ? -(code >> 1) - 1 : code >> 1;

        const int preds[4] = {a, b, (a + b) >> 1, (a + b - c) & 0xFF};
        x = (preds[cx.pred] + eps) & 0xFF;
        cx.avg += std::abs(eps);
        if (cx.used == 128) {
            cx.used = 64;
            cx.avg >>= 1;
        }
        bool halve = false;
        int best = 0;
        for (int i = 0; i < 4; ++i) {
            cx.err[i] += ErrorWeight(Signed8(x - preds[i]));
            if (cx.err[i] < cx.err[best])
                best = i;
        }
        cx.pred = best;
        for (int e : cx.err)
            halve = halve || e > 127;
        if (halve) {
            for (int& e : cx.err)
                e >>= 1;
        }

        int pixel = x;
        if (type == 1)
            pixel = (x + row_[pos - 1] - 128) & 0xFF;
        else if (type == 2)
            pixel = (x + ((11 * row_[pos - 1]) >> 4) - 128) & 0xFF;
        row_[pos] = static_cast<std::uint8_t>(pixel);
    }
    return DecodeStatus::Ok;
}

} // namespace unacev2
