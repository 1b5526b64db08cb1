#include "headers.h"

#include <cstring>

namespace unacev2 {
namespace {

// Reads little-endian fields in order and remembers whether any ran past the end.
class FieldReader {
public:
    FieldReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint64_t Get(std::size_t bytes) {
        if (bytes > size_ - pos_) {
            ok_ = false;
            pos_ = size_;
            return 0;
        }
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            v |= static_cast<std::uint64_t>(data_[pos_ + i]) << (8 * i);
        pos_ += bytes;
        return v;
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(Get(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Get(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Get(4)); }
    std::string Bytes(std::size_t n) {
        if (n > size_ - pos_) {
            ok_ = false;
            pos_ = size_;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return s;
    }
    void SkipSized16() { Bytes(U16()); }
    bool Ok() const { return ok_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace

std::optional<BlockHeader> ParseBlockHeader(const std::uint8_t* body, std::size_t size) {
    FieldReader r(body, size);
    BlockHeader h;
    h.type = r.U8();
    h.flags = r.U16();
    const bool wide = (h.flags & kFlag64Bit) || h.type == kBlockFile64 ||
                      h.type == kBlockRecovery64A || h.type == kBlockRecovery64B;
    if (h.flags & kFlagAddSize)
        h.dataSize = wide ? r.Get(8) : r.U32();
    if (!r.Ok())
        return std::nullopt;
    return h;
}

std::optional<MainHeader> ParseMainHeader(const std::uint8_t* body, std::size_t size) {
    FieldReader r(body, size);
    if (r.U8() != kBlockMain)
        return std::nullopt;
    MainHeader h;
    h.flags = r.U16();
    if (r.Bytes(7) != "**ACE**" || (h.flags & kFlagAddSize))
        return std::nullopt;
    h.versionToExtract = r.U8();
    h.versionCreated = r.U8();
    h.host = r.U8();
    h.volumeNumber = r.U8();
    h.created = r.U32();
    r.Bytes(8);
    // The advert's length byte is there whether or not its flag is set.
    h.av = r.Bytes(r.U8());
    if (h.flags & kFlagComment)
        r.SkipSized16();
    if (!r.Ok())
        return std::nullopt;
    return h;
}

std::optional<FileHeader> ParseFileHeader(const std::uint8_t* body, std::size_t size) {
    FieldReader r(body, size);
    FileHeader h;
    h.type = r.U8();
    if (h.type != kBlockFile32 && h.type != kBlockFile64)
        return std::nullopt;
    h.flags = r.U16();
    // A file header without its data size does not describe a file; such headers are made to
    // trip readers up.
    if (!(h.flags & kFlagAddSize))
        return std::nullopt;
    const bool wide = h.type == kBlockFile64 || (h.flags & kFlag64Bit);
    h.packedSize = r.Get(wide ? 8 : 4);
    h.size = r.Get(wide ? 8 : 4);
    h.dosTime = r.U32();
    h.attributes = r.U32();
    h.crc = r.U32();
    h.method = r.U8();
    h.quality = r.U8();
    h.params = r.U16();
    r.U16();
    h.rawName = r.Bytes(r.U16());
    if (h.flags & kFlagComment)
        r.SkipSized16();
    if (h.flags & kFileNtSecurity)
        r.SkipSized16();
    if (!r.Ok())
        return std::nullopt;
    if (const auto nul = h.rawName.find('\0'); nul != std::string::npos)
        h.rawName.resize(nul);
    return h;
}

} // namespace unacev2
