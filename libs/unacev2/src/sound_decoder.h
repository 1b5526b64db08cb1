#pragma once

#include "bit_reader.h"
#include "decode_status.h"
#include "huffman.h"

#include <cstddef>
#include <cstdint>

namespace unacev2 {

// ACE 2.0's SOUND modes (3: 8-bit mono, 4: 16-bit stereo, 5 and 6: the two 32-bit layouts):
// per channel an adaptive linear predictor over signed 8-bit samples, its residuals coded with
// three Huffman models per channel, zero runs included.
class SoundDecoder {
public:
    static constexpr unsigned kSwitchSymbol = 288;

    void Init(unsigned mode);
    // Starts counting the output bytes of a new block (the channel follows the byte's place).
    void BeginBlock() { blockIndex_ = 0; }

    // Writes up to `size` bytes; stops early when the switch code arrives (switched = true).
    DecodeStatus Decode(BitReader& in, std::uint8_t* out, std::size_t size, std::size_t& produced,
                        bool& switched);

private:
    struct Channel {
        int state = 0;
        int run = 0;
        int adapt = 0;
        bool useAlt = false;
        int last = 0;
        int coef[4] = {};
        int diff[4] = {};
        int err[9] = {};
        int a = 0;
        int b = 0;
        int aMark = 0;
        int bMark = 0;
        unsigned samples = 0;
    };

    // -1 corrupt, -2 switch code, else the symbol.
    int ReadSymbol(BitReader& in, unsigned model);
    // -1 corrupt, -2 switch code, else the residual value.
    int ReadResidual(BitReader& in, unsigned channel);
    static std::uint8_t Predict(Channel& c, int residualByte);

    unsigned mode_ = 3;
    unsigned channels_ = 1;
    Channel channel_[3];
    HuffmanTable models_[9];
    unsigned symbolsLeft_ = 0;
    unsigned blockIndex_ = 0;
};

} // namespace unacev2
