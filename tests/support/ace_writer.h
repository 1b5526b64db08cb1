#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tw::test::ace {

// A small writer of stored (method 0) ACE archives, so the library can be tested where no
// archiver-made samples exist: single files and folders, volume sets with split files, a
// self-extracting prefix, encryption, and the raw blocks to build damaged variants from.

struct Entry {
    std::string name; // raw bytes as stored: OEM code page, '\' or '/' between folders
    std::string data;
    bool directory = false;
    std::uint32_t dosTime = 0x5A2B6000; // 2025-01-11 12:00:00
    std::string password;               // encrypts the entry when not empty
};

struct Options {
    bool solid = false;
    std::string sfxPrefix;      // bytes put in front of the first volume
    std::size_t volumeData = 0; // file bytes per volume; 0 makes one archive file
    std::uint8_t versionToExtract = 20;
};

// ACE's CRC-32 (no final inversion) and the 16-bit header check derived from it.
std::uint32_t AceCrc32(const std::string& bytes);

// One block: CRC16, size, then body (type, flags and the fields that follow).
std::string Block(const std::string& body);
// The body of a main header.
std::string MainHeaderBody(std::uint16_t flags, std::uint8_t volume, std::uint8_t versionToExtract);
// The body of a file header. packedSize is what HEAD's data size says.
std::string FileHeaderBody(std::uint16_t flags, std::uint32_t packedSize, std::uint32_t size,
                           std::uint32_t crc, std::uint32_t attributes, std::uint32_t dosTime,
                           const std::string& name);

// The archive file(s); a volume set comes as .ace first, then the .c00, .c01 … contents.
std::vector<std::string> WriteVolumes(const std::vector<Entry>& entries, const Options& options);
std::string Write(const std::vector<Entry>& entries, const Options& options = {});

// Encrypts data as ACE does: zero-padded to whole blocks, CBC from a zero IV.
std::string Encrypt(const std::string& data, const std::string& password);

} // namespace tw::test::ace
