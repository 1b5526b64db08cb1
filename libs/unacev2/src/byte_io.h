#pragma once

#include <cstddef>
#include <cstdint>

namespace unacev2 {

// Where packed bytes come from: a file's data area, possibly continued over volumes and
// decrypted on the way. Read returns the number of bytes delivered (0 at the end) or -1 when
// the bytes could not be read.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::ptrdiff_t Read(std::uint8_t* dst, std::size_t size) = 0;
};

// Where decoded bytes go. Returning false stops the decoder (the operation was cancelled).
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
};

// A source over bytes already in memory.
class MemorySource final : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), left_(size) {}
    std::ptrdiff_t Read(std::uint8_t* dst, std::size_t size) override;

private:
    const std::uint8_t* data_;
    std::size_t left_;
};

} // namespace unacev2
