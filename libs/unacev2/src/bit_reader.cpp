#include "bit_reader.h"

namespace unacev2 {

bool BitReader::FetchMore() {
    // Keeps an unfinished word: volume parts need not end on a word boundary.
    const std::size_t keep = static_cast<std::size_t>(end_ - cur_);
    std::memmove(buffer_, cur_, keep);
    cur_ = buffer_;
    end_ = buffer_ + keep;
    while (!sourceEnded_ && static_cast<std::size_t>(end_ - buffer_) < 4) {
        const std::ptrdiff_t got =
            source_.Read(end_, kBufferSize - static_cast<std::size_t>(end_ - buffer_));
        if (got < 0)
            readFailed_ = true;
        if (got <= 0)
            sourceEnded_ = true;
        else
            end_ += got;
    }
    return end_ - cur_ >= 4;
}

void BitReader::Refill() {
    while (avail_ <= 32) {
        std::uint32_t word = 0;
        if (end_ - cur_ >= 4 || FetchMore()) {
            word = LoadLe32(cur_);
            cur_ += 4;
        } else {
            // A last partial word gets zero bytes above it; after that only zero words.
            for (int i = 0; cur_ < end_; ++i)
                word |= static_cast<std::uint32_t>(*cur_++) << (8 * i);
            ++paddingWords_;
        }
        bits_ |= static_cast<std::uint64_t>(word) << (32 - avail_);
        avail_ += 32;
    }
}

} // namespace unacev2
