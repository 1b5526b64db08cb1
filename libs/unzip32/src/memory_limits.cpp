#include "memory_limits.h"

#include <cstdio>
#include <memory>

namespace unzip32 {
namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint16_t kLzmaMethod = 14;

std::uint32_t Le16(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const unsigned char* p) {
    return Le16(p) | Le16(p + 2) << 16;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadAt(std::FILE* file, std::uint64_t offset, unsigned char* buffer, std::size_t size) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(buffer, 1, size, file) == size;
}

} // namespace

bool DeclaredMemoryWithinLimits(const std::string& archivePath, const CentralRecord& record) {
    // Encrypted data hides its header; the decoder's own checks are all there is then.
    if (record.method != kLzmaMethod || record.encrypted)
        return true;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(archivePath.c_str(), "rb"));
    unsigned char local[30];
    if (!file || !ReadAt(file.get(), record.localHeaderOffset, local, sizeof local) ||
        Le32(local) != kLocalSignature)
        return true;
    // ZIP's LZMA data starts with a version, the properties' length (5), then the properties:
    // one byte of literal and position bits and the dictionary size.
    unsigned char header[9];
    const std::uint64_t data = record.localHeaderOffset + 30 + Le16(local + 26) + Le16(local + 28);
    if (!ReadAt(file.get(), data, header, sizeof header) || Le16(header + 2) != 5)
        return true;
    return Le32(header + 5) <= kMaxDictionarySize;
}

} // namespace unzip32
