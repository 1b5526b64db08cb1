#include "signature_search.h"

#include <cstring>
#include <vector>

namespace unrar {
namespace {

constexpr unsigned char kPrefix[] = {'R', 'a', 'r', '!', 0x1A, 0x07};
constexpr std::size_t kLongest = 8;
constexpr std::size_t kChunk = 64 * 1024;

std::optional<Signature> Classify(const unsigned char* at, std::size_t available,
                                  std::uint64_t offset) {
    if (available < 7)
        return std::nullopt;
    if (at[6] == 0x00)
        return Signature{offset, 4, 7};
    if (available < kLongest)
        return std::nullopt;
    if (at[6] == 0x01 && at[7] == 0x00)
        return Signature{offset, 5, 8};
    if (at[6] >= 0x02 && at[6] <= 0x04)
        return Signature{offset, 0, 8};
    return std::nullopt;
}

} // namespace

std::optional<Signature> FindSignature(const VolumeFile& file, std::uint64_t from) {
    std::vector<unsigned char> buffer(kChunk + kLongest);
    for (std::uint64_t base = from; base < kSignatureSearchLimit && base < file.Size();
         base += kChunk) {
        const long long got = file.ReadAt(base, buffer.data(), buffer.size());
        if (got <= 0)
            return std::nullopt;
        const auto size = static_cast<std::size_t>(got);
        for (std::size_t i = 0; i < size && i < kChunk; ++i) {
            if (buffer[i] != 'R' || base + i >= kSignatureSearchLimit)
                continue;
            if (size - i < sizeof kPrefix || std::memcmp(&buffer[i], kPrefix, sizeof kPrefix) != 0)
                continue;
            if (auto found = Classify(&buffer[i], size - i, base + i))
                return found;
        }
    }
    return std::nullopt;
}

bool HasRar14Signature(const VolumeFile& file) {
    unsigned char head[4] = {};
    return file.ReadAt(0, head, sizeof head) == 4 && std::memcmp(head, "RE~^", 4) == 0;
}

} // namespace unrar
