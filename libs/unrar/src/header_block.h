#pragma once

#include "entry_header.h"

#include <cstdint>

namespace unrar {

// What the main header of one volume says about the archive.
struct ArchiveInfo {
    int generation = 0; // 4 for RAR 1.5 to 4.x, 5 for RAR 5.0
    bool volume = false;
    bool newNumbering = false;
    bool solid = false;
    bool encryptedHeaders = false;
    std::uint64_t firstBlock = 0; // offset of the block after the main header
};

enum class BlockKind { File, Service, End, Other };

// One header block of a volume and where the block after it begins.
struct HeaderBlock {
    BlockKind kind = BlockKind::Other;
    std::uint64_t dataStart = 0;
    std::uint64_t next = 0;
    bool nextVolume = false; // End: another volume follows
    EntryHeader entry;       // File (and Service: its name)
};

// Block ends computed from hostile sizes must not wrap around.
inline std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return b > ~std::uint64_t{0} - a ? ~std::uint64_t{0} : a + b;
}

} // namespace unrar
