#include "sound_decoder.h"

#include <bit>
#include <cstdlib>

namespace unacev2 {
namespace {

constexpr unsigned kSoundSymbols = 289;
constexpr unsigned kSoundMaxWidth = 10;

// Which channel output byte i of a block belongs to, by mode and i mod 4.
constexpr std::uint8_t kChannelOf[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 0, 2}, {1, 0, 2, 0}};

int Signed8(int v) {
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(v & 0xFF));
}

int BitLength(unsigned v) {
    return static_cast<int>(std::bit_width(v));
}

int Magnitude8(int v) {
    return BitLength(static_cast<unsigned>(std::abs(Signed8(v))));
}

int Prediction(const int coef[4], const int diff[4], int last) {
    const int sum =
        8 * last + coef[0] * diff[0] + coef[1] * diff[1] + coef[2] * diff[2] + coef[3] * diff[3];
    return (sum >> 3) & 0xFF;
}

} // namespace

void SoundDecoder::Init(unsigned mode) {
    mode_ = mode;
    channels_ = mode == 3 ? 1 : mode == 4 ? 2 : 3;
    for (auto& c : channel_)
        c = Channel{};
    symbolsLeft_ = 0;
    blockIndex_ = 0;
}

int SoundDecoder::ReadSymbol(BitReader& in, unsigned model) {
    if (symbolsLeft_ == 0) {
        for (unsigned i = 0; i < 3 * channels_; ++i) {
            if (!ReadHuffmanTable(in, kSoundSymbols, kSoundMaxWidth, models_[i]))
                return -1;
        }
        symbolsLeft_ = in.Read(15);
        if (symbolsLeft_ == 0)
            return -1;
    }
    --symbolsLeft_;
    const unsigned s = models_[model].Decode(in);
    if (s == kSwitchSymbol)
        return -2;
    return s < kSwitchSymbol ? static_cast<int>(s) : -1;
}

int SoundDecoder::ReadResidual(BitReader& in, unsigned ch) {
    Channel& c = channel_[ch];
    if (c.state == 0) {
        const int s = ReadSymbol(in, 3 * ch + (c.useAlt ? 1 : 0));
        if (s < 0)
            return s;
        if (s >= 32) {
            const int v = s - 32;
            c.adapt = ((c.adapt * 7) >> 3) + v;
            c.useAlt = c.adapt > 40;
            return v;
        }
        c.state = 2;
        c.run = s;
    } else if (c.state == 1) {
        const int s = ReadSymbol(in, 3 * ch + 2);
        if (s < 0)
            return s;
        c.state = 0;
        return s;
    }
    // A zero run: run + 1 zero residuals, then one literal from the third model.
    if (c.run == 0)
        c.state = 1;
    else
        --c.run;
    return 0;
}

std::uint8_t SoundDecoder::Predict(Channel& c, int residualByte) {
    const int p = Prediction(c.coef, c.diff, c.last);
    const int used = c.a > c.b ? (c.last & 0xFF) : p;
    const std::uint8_t byte = static_cast<std::uint8_t>((residualByte + used) & 0xFF);
    const int s = Signed8(byte);

    ++c.samples;
    const int e = 8 * Signed8(p - s);
    for (int k = 0; k < 4; ++k) {
        c.err[2 * k] += std::abs(e - c.diff[k]);
        c.err[2 * k + 1] += std::abs(e + c.diff[k]);
    }
    c.err[8] += std::abs(e);
    c.a += Magnitude8(e / 8);
    c.b += Magnitude8(c.last - s);
    const int delta = Signed8(s - c.last);
    c.last = s;

    if (c.samples % 32 == 0) {
        int best = 0;
        for (int k = 1; k < 9; ++k) {
            if (c.err[k] < c.err[best])
                best = k;
        }
        for (int& v : c.err)
            v = 0;
        if (best < 8) {
            int& coef = c.coef[best / 2];
            if (best % 2 == 0) {
                if (coef >= -16)
                    --coef;
            } else if (coef <= 16) {
                ++coef;
            }
        }
        if (c.samples % 256 == 0) {
            c.a -= c.aMark;
            c.aMark = c.a;
            c.b -= c.bMark;
            c.bMark = c.b;
        }
    }
    c.diff[3] = c.diff[2];
    c.diff[2] = c.diff[1];
    c.diff[1] = delta - c.diff[0];
    c.diff[0] = delta;
    return byte;
}

DecodeStatus SoundDecoder::Decode(BitReader& in, std::uint8_t* out, std::size_t size,
                                  std::size_t& produced, bool& switched) {
    produced = 0;
    switched = false;
    const auto& channelOf = kChannelOf[mode_ - 3];
    while (produced < size) {
        if (in.Overrun())
            return DecodeStatus::Corrupt;
        const unsigned ch = channelOf[blockIndex_ & 3];
        const int v = ReadResidual(in, ch);
        if (v == -2) {
            switched = true;
            return DecodeStatus::Ok;
        }
        if (v < 0)
            return DecodeStatus::Corrupt;
        const int r = (v & 1) ? 255 - (v >> 1) : (v >> 1);
        out[produced++] = Predict(channel_[ch], r);
        ++blockIndex_;
    }
    return DecodeStatus::Ok;
}

} // namespace unacev2
