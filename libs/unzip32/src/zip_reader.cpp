#include "zip_reader.h"

#include "password_source.h"
#include "twlib/codepage.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace unzip32 {
namespace {

constexpr std::size_t kReadBlockSize = 64 * 1024;

// libarchive names its methods in the format name: "ZIP 2.0 (deflation)".
std::string MethodFromFormatName(const char* formatName) {
    if (formatName == nullptr)
        return {};
    const char* open = std::strchr(formatName, '(');
    const char* close = open ? std::strchr(open, ')') : nullptr;
    if (close == nullptr)
        return {};
    return std::string(open + 1, close);
}

bool StartsWith(const char* text, const char* prefix) {
    return text != nullptr && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

} // namespace

Utf8LocaleScope::Utf8LocaleScope() {
    utf8_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (utf8_ != nullptr)
        previous_ = uselocale(utf8_);
}

Utf8LocaleScope::~Utf8LocaleScope() {
    if (utf8_ != nullptr) {
        uselocale(previous_);
        freelocale(utf8_);
    }
}

ZipReader::ZipReader(const std::string& path, PasswordSource& passwords)
    : passwords_(passwords), path_(path) {}

ZipReader::~ZipReader() {
    if (reader_ != nullptr)
        archive_read_free(reader_);
}

bool ZipReader::Open() {
    reader_ = archive_read_new();
    if (reader_ == nullptr)
        return false;
    archive_read_support_format_zip_seekable(reader_);
    archive_read_set_options(reader_, "zip:hdrcharset=CP437");
    archive_read_set_passphrase_callback(reader_, &passwords_, &PasswordSource::Callback);
    return archive_read_open_filename(reader_, path_.c_str(), kReadBlockSize) == ARCHIVE_OK;
}

ZipReader::Next ZipReader::NextEntry(EntryInfo& entry) {
    archive_entry* header = nullptr;
    const int result = archive_read_next_header(reader_, &header);
    if (result == ARCHIVE_EOF)
        return Next::End;
    if (result == ARCHIVE_FATAL)
        return Next::Fatal;
    if (result < ARCHIVE_WARN || header == nullptr)
        return Next::BadEntry;
    entry = EntryInfo{};
    const char* utf8 = archive_entry_pathname_utf8(header);
    const char* raw = archive_entry_pathname(header);
    if (utf8 != nullptr)
        entry.name = utf8;
    else if (raw != nullptr)
        entry.name = twlib::Cp437ToUtf8(raw);
    for (char& c : entry.name)
        if (c == '\\')
            c = '/';
    const auto type = archive_entry_filetype(header);
    entry.isFolder = type == AE_IFDIR;
    entry.isLink = type == AE_IFLNK;
    if (entry.isFolder && (entry.name.empty() || entry.name.back() != '/'))
        entry.name += '/';
    if (entry.isLink) {
        const char* target = archive_entry_symlink_utf8(header);
        if (target == nullptr)
            target = archive_entry_symlink(header);
        entry.linkTarget = target != nullptr ? target : "";
    }
    entry.size = archive_entry_size_is_set(header) && archive_entry_size(header) > 0
                     ? static_cast<std::uint64_t>(archive_entry_size(header))
                     : 0;
    entry.modified = archive_entry_mtime_is_set(header) ? archive_entry_mtime(header) : -1;
    entry.encrypted = archive_entry_is_encrypted(header) != 0;
    entry.method = MethodFromFormatName(archive_format_name(reader_));
    currentEncrypted_ = entry.encrypted;
    return Next::Entry;
}

ZipReader::Block ZipReader::ReadBlock(const void*& data, std::size_t& size) {
    la_int64_t offset = 0;
    data = nullptr;
    size = 0;
    const int result = archive_read_data_block(reader_, &data, &size, &offset);
    if (result == ARCHIVE_OK)
        return Block::Data;
    if (result == ARCHIVE_EOF)
        return Block::End;
    if (OutOfMemory())
        return Block::Memory;
    const char* message = archive_error_string(reader_);
    unsigned long actual = 0;
    unsigned long expected = 0;
    if (message != nullptr &&
        std::sscanf(message, "ZIP bad CRC: 0x%lx should be 0x%lx", &actual, &expected) == 2) {
        actualCrc_ = static_cast<std::uint32_t>(actual);
        expectedCrc_ = static_cast<std::uint32_t>(expected);
        return Block::BadCrc;
    }
    if (result == ARCHIVE_FATAL)
        return Block::Fatal;
    if (currentEncrypted_ && passwords_.Rejected())
        return Block::WrongPassword;
    if (StartsWith(message, "Unsupported"))
        return Block::Unsupported;
    return Block::Damaged;
}

std::string ZipReader::Error() const {
    const char* message = reader_ != nullptr ? archive_error_string(reader_) : nullptr;
    return message != nullptr ? message : "unknown error";
}

bool ZipReader::OutOfMemory() const {
    return reader_ != nullptr && archive_errno(reader_) == ENOMEM;
}

std::int64_t ZipReader::HeaderPosition() const {
    return archive_read_header_position(reader_);
}

} // namespace unzip32
