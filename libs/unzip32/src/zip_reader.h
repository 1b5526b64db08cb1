#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <locale.h>
#include <string>

struct archive;
struct archive_entry;

namespace unzip32 {

class PasswordSource;

// One entry as libarchive reports it.
struct EntryInfo {
    std::string name; // UTF-8, "/" between folders, folders end in "/"
    bool isFolder = false;
    bool isLink = false;
    std::string linkTarget;
    std::uint64_t size = 0;
    std::time_t modified = -1;
    bool encrypted = false;
    std::string method; // libarchive's name, for example "deflation"
};

// libarchive converts names to the thread's locale; this makes that UTF-8 for as long as it
// lives, without touching the process's locale.
class Utf8LocaleScope {
public:
    Utf8LocaleScope();
    ~Utf8LocaleScope();
    Utf8LocaleScope(const Utf8LocaleScope&) = delete;
    Utf8LocaleScope& operator=(const Utf8LocaleScope&) = delete;

private:
    locale_t utf8_ = nullptr;
    locale_t previous_ = nullptr;
};

// libarchive's seekable ZIP reader over one archive file. Within a Utf8LocaleScope names come
// out as UTF-8: entries not marked UTF-8 are read as CP437.
class ZipReader {
public:
    ZipReader(const std::string& path, PasswordSource& passwords);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    bool Open();

    enum class Next { Entry, End, BadEntry, Fatal };
    Next NextEntry(EntryInfo& entry);

    enum class Block { Data, End, BadCrc, WrongPassword, Unsupported, Damaged, Fatal, Memory };
    // `data` stays valid until the next call.
    Block ReadBlock(const void*& data, std::size_t& size);

    std::string Error() const;
    bool OutOfMemory() const;
    // The two values of the last bad CRC: computed and expected.
    std::uint32_t ActualCrc() const { return actualCrc_; }
    std::uint32_t ExpectedCrc() const { return expectedCrc_; }
    // Where the current entry's header starts, to notice a reader that stopped moving.
    std::int64_t HeaderPosition() const;

private:
    archive* reader_ = nullptr;
    PasswordSource& passwords_;
    std::string path_;
    bool currentEncrypted_ = false;
    std::uint32_t actualCrc_ = 0;
    std::uint32_t expectedCrc_ = 0;
};

} // namespace unzip32
