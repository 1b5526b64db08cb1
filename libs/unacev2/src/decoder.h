#pragma once

#include "bit_reader.h"
#include "byte_io.h"
#include "decode_status.h"
#include "exe_filter.h"
#include "huffman.h"
#include "pic_decoder.h"
#include "sound_decoder.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace unacev2 {

// Packing methods of a file header.
enum : unsigned { kMethodStored = 0, kMethodLz77 = 1, kMethodBlocked = 2 };

// The decompressor for ACE 1.0 LZ77 and ACE 2.0 blocked data. One object decodes the files of
// an archive in order; the window (and its position) carries over between files of a solid
// archive, everything else starts afresh with every file.
class Decoder {
public:
    static constexpr unsigned kWindowBits = 22; // the largest dictionary, 4 MiB
    static constexpr std::size_t kWindowSize = std::size_t{1} << kWindowBits;

    Decoder();

    // Forgets the window: the start of an archive, or of every file of a non-solid one.
    void ResetStream();

    // Decodes `size` bytes of a kMethodLz77 or kMethodBlocked file into out.
    DecodeStatus DecodeFile(unsigned method, std::uint64_t size, BitReader& in, ByteSink& out);

    // Bytes of a stored file join the window so that later files of a solid archive can refer
    // to them.
    void AppendToWindow(const std::uint8_t* data, std::size_t size);

    // Bytes decoded per mode (0 LZ77 … 7 PIC) since construction; benchmarks attribute time by it.
    const std::uint64_t* ModeBytes() const { return modeBytes_; }

private:
    enum Mode : unsigned {
        kLz77 = 0,
        kDelta = 1,
        kExe = 2,
        kSound8 = 3,
        kSound16 = 4,
        kSound32A = 5,
        kSound32B = 6,
        kPic = 7,
    };

    DecodeStatus RunLz77(std::uint64_t limit);
    DecodeStatus RunSound(std::uint64_t limit);
    DecodeStatus RunPic(std::uint64_t limit);
    bool ReadLz77Tables();
    DecodeStatus SwitchMode();
    // Hands the bytes decoded since the last flush to the sink, through the mode's filter.
    bool Flush(bool runEnds);
    bool FlushPlain();
    void CopyOut(std::uint64_t from, std::size_t size, std::uint8_t* dst) const;
    void PutBytes(const std::uint8_t* data, std::size_t size);

    std::unique_ptr<std::uint8_t[]> window_;
    std::uint64_t pos_ = 0;     // bytes written since ResetStream
    std::uint64_t flushed_ = 0; // bytes handed to the sink
    std::uint64_t fileStart_ = 0;
    std::uint64_t fileEnd_ = 0;

    BitReader* in_ = nullptr;
    ByteSink* out_ = nullptr;
    bool blocked_ = false;
    bool switchPending_ = false;
    bool corrupt_ = false;

    std::uint32_t history_[4] = {};
    HuffmanTable mainTable_;
    HuffmanTable lengthTable_;
    unsigned symbolsLeft_ = 0;
    unsigned pendingLength_ = 0;
    std::uint32_t pendingDistance_ = 0;

    unsigned mode_ = kLz77;
    unsigned exeMode_ = 0;
    ExeFilter exe_;
    unsigned deltaDistance_ = 0;
    unsigned deltaLength_ = 0;
    std::uint8_t deltaLast_ = 0;
    std::uint64_t deltaStart_ = 0;
    SoundDecoder sound_;
    PicDecoder pic_;
    std::vector<std::uint8_t> work_;
    std::vector<std::uint8_t> work2_;
    std::uint64_t modeBytes_[8] = {};
};

} // namespace unacev2
