#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tw::test {

struct ZipEntry {
    enum class Kind { File, Folder, Link };
    std::string name;
    std::string data; // file contents, or the target of a link
    Kind kind = Kind::File;
    std::time_t modified = 1700000000;
};

struct ZipWriteOptions {
    std::string compression = "deflate"; // libarchive's zip "compression" option
    std::string encryption;              // "", "traditional" (ZipCrypto), "aes128" or "aes256"
    std::string password;
    bool zip64 = false; // ZIP64 records even for small entries

    static ZipWriteOptions Stored() {
        ZipWriteOptions options;
        options.compression = "store";
        return options;
    }
    static ZipWriteOptions Encrypted(std::string encryption, std::string password) {
        ZipWriteOptions options;
        options.encryption = std::move(encryption);
        options.password = std::move(password);
        return options;
    }
    static ZipWriteOptions Zip64() {
        ZipWriteOptions options;
        options.zip64 = true;
        return options;
    }
};

// Writes a ZIP archive through libarchive's writer.
void WriteZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries,
              const ZipWriteOptions& options = {});

struct RawZipEntry {
    std::string name; // stored byte for byte
    std::string data;
    bool utf8Flag = false;
};

// The bytes of a stored (uncompressed) ZIP archive laid out by hand, for names that writers
// refuse or normalise: "../x", "/x", CP437 bytes.
std::string RawStoredZip(const std::vector<RawZipEntry>& entries);

} // namespace tw::test
