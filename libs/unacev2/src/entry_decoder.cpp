#include "entry_decoder.h"

#include "bit_reader.h"
#include "crc32.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace unacev2 {

std::ptrdiff_t DecryptingSource::Read(std::uint8_t* dst, std::size_t size) {
    const std::size_t want = size & ~std::size_t{7};
    if (want == 0)
        return 0;
    std::size_t got = carrySize_;
    std::memcpy(dst, carry_, carrySize_);
    carrySize_ = 0;
    while (got < want) {
        const std::ptrdiff_t n = inner_.Read(dst + got, want - got);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    // Bytes short of a whole block wait for the next read; at the end they are not data.
    const std::size_t whole = got & ~std::size_t{7};
    carrySize_ = got - whole;
    std::memcpy(carry_, dst + whole, carrySize_);
    cipher_.Decrypt(dst, whole);
    return static_cast<std::ptrdiff_t>(whole);
}

bool CrcSink::Write(const std::uint8_t* data, std::size_t size) {
    crc_ = AceCrc32(crc_, data, size);
    count_ += size;
    return next_ == nullptr || next_->Write(data, size);
}

bool EntryDecoder::Supports(const FileHeader& entry) {
    if (entry.method > kMethodBlocked)
        return false;
    return entry.method == kMethodStored || entry.DictionaryBits() <= Decoder::kWindowBits;
}

DecodeStatus EntryDecoder::CopyStored(std::uint64_t size, ByteSource& packed, ByteSink& out) {
    std::vector<std::uint8_t> buf(1 << 16);
    while (size > 0) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, buf.size()));
        // Encrypted data comes in whole blocks, so ask for the want rounded up to a block.
        const std::size_t target = std::min(buf.size(), (want + 7) & ~std::size_t{7});
        std::size_t got = 0;
        while (got < want) {
            const std::ptrdiff_t n = packed.Read(buf.data() + got, target - got);
            if (n < 0)
                return DecodeStatus::ReadError;
            if (n == 0)
                return DecodeStatus::Corrupt;
            got += static_cast<std::size_t>(n);
        }
        // An encrypted stored file is padded to whole blocks; only `size` bytes are the file.
        const std::size_t use = std::min(got, want);
        decoder_->AppendToWindow(buf.data(), use);
        if (!out.Write(buf.data(), use))
            return DecodeStatus::Cancelled;
        size -= use;
    }
    return DecodeStatus::Ok;
}

DecodeStatus EntryDecoder::Unpack(const FileHeader& entry, ByteSource& packed, ByteSink& out) {
    if (entry.method == kMethodStored)
        return CopyStored(entry.size, packed, out);
    auto in = std::make_unique<BitReader>(packed);
    return decoder_->DecodeFile(entry.method, entry.size, *in, out);
}

DecodeStatus EntryDecoder::Decode(const FileHeader& entry, bool solid, ByteSource& packed,
                                  const std::string& password, ByteSink& out) {
    if (!solid)
        decoder_->ResetStream();
    if (!(entry.flags & kFileEncrypted))
        return Unpack(entry, packed, out);
    DecryptingSource clear(packed, password);
    return Unpack(entry, clear, out);
}

} // namespace unacev2
