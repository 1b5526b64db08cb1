#pragma once

#include "blowfish.h"
#include "byte_io.h"
#include "decode_status.h"
#include "decoder.h"
#include "headers.h"

#include <cstdint>
#include <memory>
#include <string>

namespace unacev2 {

// Decrypts a packed stream on the way through, in whole 8-byte blocks; the chain runs on across
// the volume parts the inner source joins.
class DecryptingSource final : public ByteSource {
public:
    DecryptingSource(ByteSource& inner, const std::string& password)
        : inner_(inner),
          cipher_(reinterpret_cast<const std::uint8_t*>(password.data()), password.size()) {}
    std::ptrdiff_t Read(std::uint8_t* dst, std::size_t size) override;

private:
    ByteSource& inner_;
    AceCbcDecryptor cipher_;
    std::uint8_t carry_[8] = {};
    std::size_t carrySize_ = 0;
};

// Passes bytes on and keeps the ACE CRC and the count of what went through.
class CrcSink final : public ByteSink {
public:
    explicit CrcSink(ByteSink* next) : next_(next) {}
    bool Write(const std::uint8_t* data, std::size_t size) override;
    std::uint32_t Crc() const { return crc_; }
    std::uint64_t Count() const { return count_; }

private:
    ByteSink* next_;
    std::uint32_t crc_ = 0xFFFFFFFFu;
    std::uint64_t count_ = 0;
};

// Turns one entry's packed bytes into its contents, whichever way it was packed and whether
// or not it is encrypted. One object per archive: it keeps the window of a solid archive.
class EntryDecoder {
public:
    // method and dictionary size this decoder can handle.
    static bool Supports(const FileHeader& entry);

    // Decodes entry from packed into out; password is used when the entry is encrypted.
    // `solid` keeps the window of the files before.
    DecodeStatus Decode(const FileHeader& entry, bool solid, ByteSource& packed,
                        const std::string& password, ByteSink& out);

    const Decoder& Core() const { return *decoder_; }

private:
    DecodeStatus Unpack(const FileHeader& entry, ByteSource& packed, ByteSink& out);
    DecodeStatus CopyStored(std::uint64_t size, ByteSource& packed, ByteSink& out);

    std::unique_ptr<Decoder> decoder_ = std::make_unique<Decoder>();
};

} // namespace unacev2
