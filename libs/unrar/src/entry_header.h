#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace unrar {

// One file header as the archive states it, whichever RAR generation wrote it.
struct EntryHeader {
    std::string name;    // UTF-8, "/" between folders
    std::string rawName; // the stored bytes with "/" separators, for matching libarchive's name
    bool splitBefore = false;
    bool splitAfter = false;
    bool encrypted = false;
    bool solid = false;
    bool folder = false;
    bool link = false;      // a symbolic link (or junction)
    bool otherLink = false; // a hard link or file copy, which refers to another entry
    std::string linkTarget; // RAR 5 keeps it in the header; RAR 4 in the data
    std::uint64_t packSize = 0;
    std::uint64_t unpSize = 0;
    std::uint32_t hostOs = 0; // RAR_HOST_*
    std::uint32_t crc = 0;
    bool hasCrc = false;
    std::uint32_t dosTime = 0;
    std::time_t mtime = -1;
    std::uint32_t unpVer = 0;
    std::uint32_t method = 0x30;
    std::uint32_t attributes = 0; // as stored: Windows bits or a Unix mode, by hostOs
};

} // namespace unrar
