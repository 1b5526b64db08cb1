#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace unzip32 {

// What the central directory says of one entry; libarchive does not expose these fields.
struct CentralRecord {
    std::string name;         // UTF-8, as libarchive gives it
    std::uint16_t method = 0; // the real method, also for WinZip AES entries
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeaderOffset = 0; // in the file, bytes in front of the archive included
    bool encrypted = false;
};

struct CentralDirectory {
    bool endRecordFound = false;
    std::uint64_t declaredEntries = 0;
    std::string comment; // the archive comment, bytes as stored
    // Complete only when `complete`; a damaged or oversized directory leaves what could be read.
    std::vector<CentralRecord> records;
    bool complete = false;
};

// Reads the end record and the central directory with bounded reads: the directory is read only
// up to a fixed size, whatever it declares.
CentralDirectory ReadCentralDirectory(const std::string& archivePath);

// Finds the record of each entry libarchive reports, by name, in directory order.
class CentralIndex {
public:
    explicit CentralIndex(const CentralDirectory& directory);
    // The record for `name` not handed out yet, or null.
    const CentralRecord* Take(const std::string& name);

private:
    const CentralDirectory& directory_;
    std::multimap<std::string, std::size_t> byName_;
};

} // namespace unzip32
