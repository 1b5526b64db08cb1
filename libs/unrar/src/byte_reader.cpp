#include "byte_reader.h"

namespace unrar {

bool ByteReader::Need(std::size_t count) {
    if (ok_ && count <= size_ - pos_)
        return true;
    ok_ = false;
    return false;
}

std::uint64_t ByteReader::Fixed(std::size_t count) {
    if (!Need(count))
        return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value |= static_cast<std::uint64_t>(data_[pos_ + i]) << (8 * i);
    pos_ += count;
    return value;
}

std::uint64_t ByteReader::VarInt() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (!Need(1))
            return 0;
        const unsigned char byte = data_[pos_++];
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return value;
    }
    ok_ = false;
    return 0;
}

std::string ByteReader::Bytes(std::size_t count) {
    if (!Need(count))
        return {};
    std::string out(reinterpret_cast<const char*>(data_ + pos_), count);
    pos_ += count;
    return out;
}

void ByteReader::Skip(std::size_t count) {
    if (Need(count))
        pos_ += count;
}

} // namespace unrar
