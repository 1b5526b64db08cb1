#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace unrar {

// Little-endian fields and RAR 5 variable-length numbers out of one header's bytes. Every read
// is checked against the end; after the first failure ok() stays false and reads give 0.
class ByteReader {
public:
    ByteReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return ok_ ? size_ - pos_ : 0; }

    std::uint8_t U8() { return static_cast<std::uint8_t>(Fixed(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Fixed(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Fixed(4)); }
    std::uint64_t U64() { return Fixed(8); }
    // RAR 5 number: 7 bits per byte, low bits first, high bit set on all bytes but the last.
    std::uint64_t VarInt();
    std::string Bytes(std::size_t count);
    void Skip(std::size_t count);

private:
    std::uint64_t Fixed(std::size_t count);
    bool Need(std::size_t count);

    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace unrar
