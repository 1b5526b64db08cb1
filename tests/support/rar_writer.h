#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace tw::test {

// Stored (uncompressed) RAR 4 and RAR 5 archives for tests: single archives, volume sets,
// self-extracting prefixes, entries flagged as encrypted and a few kinds of damage.
struct RarTestEntry {
    std::string name; // "/" between folders
    std::string data;
    bool folder = false;
    bool encrypted = false; // sets the flag or record only; the data stays readable
    bool unixHost = false;  // made on Unix (mode), else on Windows (attributes)
    std::uint32_t mode = 0644;
    std::uint32_t attributes = 0x20;
    std::string linkTarget; // a Unix symbolic link to this target
    std::time_t mtime = 1700000000;
    bool wrongCrc = false;       // the stored CRC does not match the data
    bool compactUnicode = false; // RAR 4: the name in the narrow-plus-UTF-16 form
};

enum class RarFormat { Rar4, Rar5 };

enum class RarDamage {
    None,
    BrokenFileHeader, // a byte of the first file header changed: its CRC no longer matches
    Truncated,        // cut in the middle of the last entry's data
    FutureVersion,    // a RAR signature of a format version that does not exist yet
    EncryptedHeaders, // the archive says its headers are encrypted
};

struct RarTestOptions {
    RarFormat format = RarFormat::Rar4;
    bool solid = false;    // the archive's solid flag, and the entries' after the first
    std::string sfxPrefix; // bytes in front of the archive, as a self-extracting module
    RarDamage damage = RarDamage::None;
    std::string comment; // a stored archive comment in front of the entries
};

std::string MakeRar(const std::vector<RarTestEntry>& entries, const RarTestOptions& options = {});

enum class RarVolumeNaming {
    NewStyle, // name.part1.rar, name.part2.rar ... with `digits` digits
    OldStyle, // name.rar, name.r00, name.r01 ... (RAR 4 only)
};

// Writes a volume set into `folder` and returns the volume paths in order. Each volume holds at
// most `dataPerVolume` bytes of entry data; entries that do not fit go on in the next volume.
std::vector<std::filesystem::path>
WriteRarVolumes(const std::filesystem::path& folder, const std::string& baseName,
                const std::vector<RarTestEntry>& entries, std::size_t dataPerVolume,
                const RarTestOptions& options = {},
                RarVolumeNaming naming = RarVolumeNaming::NewStyle, int digits = 1);

std::uint32_t RarCrc32(const std::string& data);

} // namespace tw::test
