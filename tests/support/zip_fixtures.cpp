#include "zip_fixtures.h"

#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace tw::test {
namespace {

void Check(archive* writer, int result, const char* what) {
    if (result < ARCHIVE_WARN)
        throw std::runtime_error(std::string(what) + ": " + archive_error_string(writer));
}

std::uint32_t Crc32(const std::string& data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

void WriteZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries,
              const ZipWriteOptions& options) {
    archive* writer = archive_write_new();
    Check(writer, archive_write_set_format_zip(writer), "format");
    Check(
        writer,
        archive_write_set_format_option(writer, "zip", "compression", options.compression.c_str()),
        "compression");
    if (!options.encryption.empty()) {
        Check(writer,
              archive_write_set_format_option(writer, "zip", "encryption",
                                              options.encryption.c_str()),
              "encryption");
        Check(writer, archive_write_set_passphrase(writer, options.password.c_str()), "passphrase");
    }
    if (options.zip64)
        Check(writer, archive_write_set_format_option(writer, "zip", "zip64", "1"), "zip64");
    Check(writer, archive_write_open_filename(writer, path.c_str()), "open");
    for (const auto& item : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, item.name.c_str());
        archive_entry_set_mtime(entry, item.modified, 0);
        switch (item.kind) {
        case ZipEntry::Kind::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, static_cast<la_int64_t>(item.data.size()));
            break;
        case ZipEntry::Kind::Folder:
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
            break;
        case ZipEntry::Kind::Link:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_set_symlink_utf8(entry, item.data.c_str());
            break;
        }
        Check(writer, archive_write_header(writer, entry), "header");
        if (item.kind == ZipEntry::Kind::File && !item.data.empty() &&
            archive_write_data(writer, item.data.data(), item.data.size()) < 0)
            Check(writer, ARCHIVE_FATAL, "data");
        archive_entry_free(entry);
    }
    Check(writer, archive_write_close(writer), "close");
    archive_write_free(writer);
}

std::string RawStoredZip(const std::vector<RawZipEntry>& entries) {
    constexpr std::uint32_t kDosTime = (12u << 11);
    constexpr std::uint32_t kDosDate = ((2024u - 1980u) << 9) | (1u << 5) | 15u;
    std::string body;
    std::string directory;
    for (const auto& entry : entries) {
        const std::uint32_t offset = static_cast<std::uint32_t>(body.size());
        const std::uint32_t crc = Crc32(entry.data);
        const std::uint32_t flags = entry.utf8Flag ? 0x0800 : 0;
        const auto size = static_cast<std::uint32_t>(entry.data.size());
        const auto nameLength = static_cast<std::uint32_t>(entry.name.size());
        Put32(body, 0x04034b50);
        Put16(body, 20);
        Put16(body, flags);
        Put16(body, 0);
        Put16(body, kDosTime);
        Put16(body, kDosDate);
        Put32(body, crc);
        Put32(body, size);
        Put32(body, size);
        Put16(body, nameLength);
        Put16(body, 0);
        body += entry.name + entry.data;
        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, flags);
        Put16(directory, 0);
        Put16(directory, kDosTime);
        Put16(directory, kDosDate);
        Put32(directory, crc);
        Put32(directory, size);
        Put32(directory, size);
        Put16(directory, nameLength);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory += entry.name;
    }
    std::string end;
    Put32(end, 0x06054b50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<std::uint32_t>(entries.size()));
    Put16(end, static_cast<std::uint32_t>(entries.size()));
    Put32(end, static_cast<std::uint32_t>(directory.size()));
    Put32(end, static_cast<std::uint32_t>(body.size()));
    Put16(end, 0);
    return body + directory + end;
}

} // namespace tw::test
