#include "decoder.h"

#include <algorithm>
#include <cstring>

namespace unacev2 {
namespace {

constexpr std::size_t kWindowMask = Decoder::kWindowSize - 1;
// Output is handed on in chunks of this size; large enough to keep the sink calls rare.
constexpr std::uint64_t kFlushChunk = 1 << 18;
constexpr unsigned kMainSymbols = 284;
constexpr unsigned kLengthSymbols = 255;
// The length table is sent with one entry more than its alphabet, and encoders use it: 255 + 4
// is the longest match.
constexpr unsigned kLongestLengthCode = 255;
constexpr unsigned kLz77MaxWidth = 11;
constexpr unsigned kSwitchSymbol = 283;

} // namespace

Decoder::Decoder() : window_(new std::uint8_t[kWindowSize]) {
    std::memset(window_.get(), 0, kWindowSize);
}

void Decoder::ResetStream() {
    pos_ = 0;
    flushed_ = 0;
}

void Decoder::PutBytes(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const std::size_t at = static_cast<std::size_t>(pos_ & kWindowMask);
        const std::size_t n = std::min(size, kWindowSize - at);
        std::memcpy(window_.get() + at, data, n);
        data += n;
        size -= n;
        pos_ += n;
    }
}

void Decoder::AppendToWindow(const std::uint8_t* data, std::size_t size) {
    if (size > kWindowSize) {
        data += size - kWindowSize;
        pos_ += size - kWindowSize;
        size = kWindowSize;
    }
    PutBytes(data, size);
    flushed_ = pos_;
}

void Decoder::CopyOut(std::uint64_t from, std::size_t size, std::uint8_t* dst) const {
    while (size > 0) {
        const std::size_t at = static_cast<std::size_t>(from & kWindowMask);
        const std::size_t n = std::min(size, kWindowSize - at);
        std::memcpy(dst, window_.get() + at, n);
        dst += n;
        size -= n;
        from += n;
    }
}

bool Decoder::FlushPlain() {
    while (flushed_ < pos_) {
        const std::size_t at = static_cast<std::size_t>(flushed_ & kWindowMask);
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(pos_ - flushed_, kWindowSize - at));
        if (!out_->Write(window_.get() + at, n))
            return false;
        flushed_ += n;
    }
    return true;
}

bool Decoder::Flush(bool runEnds) {
    const std::size_t size = static_cast<std::size_t>(pos_ - flushed_);
    modeBytes_[mode_] += size;
    if (mode_ == kExe) {
        work_.resize(size);
        CopyOut(flushed_, size, work_.data());
        const std::uint64_t offset = flushed_ - fileStart_;
        flushed_ = pos_;
        return exe_.Process(work_.data(), size, offset, exeMode_, runEnds, *out_);
    }
    if (mode_ == kDelta) {
        if (size == 0)
            return true;
        work_.resize(size);
        work2_.resize(size);
        CopyOut(flushed_, size, work_.data());
        flushed_ = pos_;
        deltaStart_ = pos_;
        if (!DeltaDecode(work_.data(), size, deltaDistance_, deltaLast_, work2_.data())) {
            switchPending_ = false;
            corrupt_ = true;
            return true;
        }
        return out_->Write(work2_.data(), size);
    }
    return FlushPlain();
}

bool Decoder::ReadLz77Tables() {
    BitReader& in = *in_;
    if (!ReadHuffmanTable(in, kMainSymbols, kLz77MaxWidth, mainTable_) ||
        !ReadHuffmanTable(in, kLengthSymbols, kLz77MaxWidth, lengthTable_))
        return false;
    symbolsLeft_ = in.Read(15);
    return symbolsLeft_ != 0 && !in.Overrun();
}

DecodeStatus Decoder::RunLz77(std::uint64_t limit) {
    BitReader& in = *in_;
    std::uint8_t* const w = window_.get();
    std::uint64_t pos = pos_;

    unsigned length = pendingLength_;
    std::uint32_t distance = pendingDistance_;
    pendingLength_ = 0;
    for (;;) {
        if (length > 0) {
            if (pos + length > limit) {
                if (limit == fileEnd_) {
                    pos_ = pos;
                    return DecodeStatus::Corrupt;
                }
                pendingLength_ = static_cast<unsigned>(pos + length - limit);
                pendingDistance_ = distance;
                length = static_cast<unsigned>(limit - pos);
            }
            std::size_t src = static_cast<std::size_t>((pos - distance) & kWindowMask);
            std::size_t dst = static_cast<std::size_t>(pos & kWindowMask);
            pos += length;
            if (src + length <= kWindowSize && dst + length <= kWindowSize) {
                std::uint8_t* d = w + dst;
                const std::uint8_t* s = w + src;
                if (distance >= 8 && distance <= kWindowSize - 8) {
                    while (length >= 8) {
                        std::memcpy(d, s, 8);
                        d += 8;
                        s += 8;
                        length -= 8;
                    }
                }
                while (length-- > 0)
                    *d++ = *s++;
            } else {
                while (length-- > 0) {
                    w[dst] = w[src];
                    dst = (dst + 1) & kWindowMask;
                    src = (src + 1) & kWindowMask;
                }
            }
            length = 0;
        }
        if (pos >= limit)
            break;
        if (in.Overrun()) {
            pos_ = pos;
            return DecodeStatus::Corrupt;
        }
        if (symbolsLeft_ == 0 && !ReadLz77Tables()) {
            pos_ = pos;
            return DecodeStatus::Corrupt;
        }
        --symbolsLeft_;
        const unsigned sym = mainTable_.Decode(in);
        if (sym < 256) {
            w[pos & kWindowMask] = static_cast<std::uint8_t>(sym);
            ++pos;
            continue;
        }
        unsigned base;
        if (sym < 260) {
            const unsigned k = sym - 256;
            const std::uint32_t d = history_[k];
            for (unsigned i = k; i > 0; --i)
                history_[i] = history_[i - 1];
            history_[0] = d;
            distance = d + 1;
            base = k < 2 ? 2 : 3;
        } else if (sym < kSwitchSymbol) {
            const unsigned width = sym - 260;
            const std::uint32_t d =
                width < 2 ? width : in.Read(width - 1) + (std::uint32_t{1} << (width - 1));
            history_[3] = history_[2];
            history_[2] = history_[1];
            history_[1] = history_[0];
            history_[0] = d;
            distance = d + 1;
            base = d <= 255 ? 2 : d <= 8191 ? 3 : 4;
        } else if (sym == kSwitchSymbol && blocked_) {
            pos_ = pos;
            switchPending_ = true;
            return DecodeStatus::Ok;
        } else {
            pos_ = pos;
            return DecodeStatus::Corrupt;
        }
        const unsigned l = lengthTable_.Decode(in);
        if (l > kLongestLengthCode || distance > pos || distance > kWindowSize) {
            pos_ = pos;
            return DecodeStatus::Corrupt;
        }
        length = l + base;
    }
    pos_ = pos;
    return DecodeStatus::Ok;
}

DecodeStatus Decoder::RunSound(std::uint64_t limit) {
    while (pos_ < limit) {
        const std::size_t at = static_cast<std::size_t>(pos_ & kWindowMask);
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(limit - pos_, kWindowSize - at));
        std::size_t produced = 0;
        bool switched = false;
        const DecodeStatus st = sound_.Decode(*in_, window_.get() + at, want, produced, switched);
        pos_ += produced;
        if (st != DecodeStatus::Ok)
            return st;
        if (switched) {
            switchPending_ = true;
            break;
        }
    }
    return DecodeStatus::Ok;
}

DecodeStatus Decoder::RunPic(std::uint64_t limit) {
    while (pos_ < limit) {
        bool switched = false;
        const DecodeStatus st = pic_.NextRow(*in_, switched);
        if (st != DecodeStatus::Ok)
            return st;
        if (switched) {
            switchPending_ = true;
            break;
        }
        PutBytes(pic_.Row(),
                 static_cast<std::size_t>(std::min<std::uint64_t>(pic_.Width(), fileEnd_ - pos_)));
    }
    return DecodeStatus::Ok;
}

DecodeStatus Decoder::SwitchMode() {
    BitReader& in = *in_;
    switchPending_ = false;
    const unsigned mode = in.Read(8);
    unsigned exeMode = exeMode_;
    unsigned deltaDistance = 0;
    unsigned deltaLength = 0;
    if (mode == kDelta) {
        deltaDistance = in.Read(8);
        deltaLength = in.Read(17);
        if (deltaDistance == 0 || deltaLength == 0)
            return DecodeStatus::Corrupt;
    } else if (mode == kExe) {
        exeMode = in.Read(8);
        if (exeMode > 1)
            return DecodeStatus::Corrupt;
    } else if (mode > kPic) {
        return DecodeStatus::Corrupt;
    }
    if (in.Overrun())
        return DecodeStatus::Corrupt;

    // An EXE run goes on through a switch to EXE again; anything else ends it.
    if (!Flush(mode != kExe))
        return DecodeStatus::Cancelled;
    if (corrupt_)
        return DecodeStatus::Corrupt;
    if (mode_ == kExe && mode != kExe && !exe_.Finish(*out_))
        return DecodeStatus::Cancelled;

    const bool changed = mode != mode_;
    mode_ = mode;
    exeMode_ = exeMode;
    if (mode == kDelta) {
        deltaDistance_ = deltaDistance;
        deltaLength_ = deltaLength;
        deltaStart_ = pos_;
    } else if (mode >= kSound8 && mode <= kSound32B) {
        if (changed)
            sound_.Init(mode);
        sound_.BeginBlock();
    } else if (mode == kPic && changed) {
        return pic_.Init(in);
    }
    return DecodeStatus::Ok;
}

DecodeStatus Decoder::DecodeFile(unsigned method, std::uint64_t size, BitReader& in,
                                 ByteSink& out) {
    in_ = &in;
    out_ = &out;
    blocked_ = method == kMethodBlocked;
    switchPending_ = false;
    corrupt_ = false;
    fileStart_ = pos_;
    fileEnd_ = pos_ + size;
    flushed_ = pos_;
    std::fill(std::begin(history_), std::end(history_), 0u);
    symbolsLeft_ = 0;
    pendingLength_ = 0;
    mode_ = kLz77;
    exeMode_ = 0;
    exe_.Reset();
    deltaLast_ = 0;

    while (pos_ < fileEnd_) {
        const std::uint64_t chunkEnd = std::min(fileEnd_, flushed_ + kFlushChunk);
        DecodeStatus st;
        switch (mode_) {
        case kDelta:
            st = RunLz77(std::min(fileEnd_, deltaStart_ + deltaLength_));
            break;
        case kLz77:
        case kExe:
            st = RunLz77(chunkEnd);
            break;
        case kPic:
            st = RunPic(chunkEnd);
            break;
        default:
            st = RunSound(chunkEnd);
            break;
        }
        if (st == DecodeStatus::Ok && switchPending_)
            st = SwitchMode();
        else if (st == DecodeStatus::Ok && !Flush(false))
            st = DecodeStatus::Cancelled;
        if (st == DecodeStatus::Ok && corrupt_)
            st = DecodeStatus::Corrupt;
        if (st == DecodeStatus::Ok && in.ReadFailed())
            st = DecodeStatus::ReadError;
        if (st != DecodeStatus::Ok)
            return st;
    }
    if (!Flush(true) || !exe_.Finish(out))
        return DecodeStatus::Cancelled;
    if (corrupt_)
        return DecodeStatus::Corrupt;
    return in.ReadFailed() ? DecodeStatus::ReadError : DecodeStatus::Ok;
}

} // namespace unacev2
