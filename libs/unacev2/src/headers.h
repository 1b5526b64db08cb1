#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace unacev2 {

// Block types.
enum : std::uint8_t {
    kBlockMain = 0,
    kBlockFile32 = 1,
    kBlockRecovery32 = 2,
    kBlockFile64 = 3,
    kBlockRecovery64A = 4,
    kBlockRecovery64B = 5,
};

// Flags shared by every block.
enum : std::uint16_t { kFlagAddSize = 1u << 0, kFlagComment = 1u << 1, kFlag64Bit = 1u << 2 };

// Main header flags.
enum : std::uint16_t {
    kMainSfx = 1u << 9,
    kMainSmallDictionary = 1u << 10,
    kMainMultiVolume = 1u << 11,
    kMainAv = 1u << 12,
    kMainRecovery = 1u << 13,
    kMainLocked = 1u << 14,
    kMainSolid = 1u << 15,
};

// File header flags.
enum : std::uint16_t {
    kFileNtSecurity = 1u << 10,
    kFileContinuedFromPrevious = 1u << 12,
    kFileContinuesInNext = 1u << 13,
    kFileEncrypted = 1u << 14,
    kFileSolid = 1u << 15,
};

constexpr std::uint32_t kDosAttrDirectory = 0x10;
constexpr std::uint8_t kHighestVersionToExtract = 20;

// The frame of every block: what follows HEAD_SIZE, its type and flags, and the size of the
// data area after it.
struct BlockHeader {
    std::uint8_t type = 0;
    std::uint16_t flags = 0;
    std::uint64_t dataSize = 0;
};

struct MainHeader {
    std::uint16_t flags = 0;
    std::uint8_t versionToExtract = 0;
    std::uint8_t versionCreated = 0;
    std::uint8_t host = 0;
    std::uint8_t volumeNumber = 0;
    std::uint32_t created = 0; // MS-DOS date and time
    std::string av;
};

struct FileHeader {
    std::uint8_t type = 0;
    std::uint16_t flags = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint32_t dosTime = 0;
    std::uint32_t attributes = 0;
    std::uint32_t crc = 0;
    std::uint8_t method = 0;
    std::uint8_t quality = 0;
    std::uint16_t params = 0;
    std::string rawName; // OEM code page, '\' between folders

    unsigned DictionaryBits() const { return (params & 15u) + 10u; }
    bool IsDirectory() const { return (attributes & kDosAttrDirectory) != 0; }
};

// `body` is the HEAD_SIZE bytes after the HEAD_SIZE field (type onwards). Every parser checks
// each field against the header's size and rejects what does not fit.
std::optional<BlockHeader> ParseBlockHeader(const std::uint8_t* body, std::size_t size);
std::optional<MainHeader> ParseMainHeader(const std::uint8_t* body, std::size_t size);
std::optional<FileHeader> ParseFileHeader(const std::uint8_t* body, std::size_t size);

} // namespace unacev2
