#include "central_directory.h"

#include "twlib/codepage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace unzip32 {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kMaxCommentSize = 0xFFFF;
// Enough for hundreds of thousands of entries; a larger directory is simply not indexed further.
constexpr std::uint64_t kMaxDirectoryRead = 64u << 20;

std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint64_t Le64(const unsigned char* p) {
    return static_cast<std::uint64_t>(Le32(p)) | static_cast<std::uint64_t>(Le32(p + 4)) << 32;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadAt(std::FILE* file, std::uint64_t offset, void* buffer, std::size_t size) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(buffer, 1, size, file) == size;
}

struct EndRecord {
    std::uint64_t position = 0; // where the (ZIP64) end record starts: the directory ends there
    std::uint64_t entries = 0;
    std::uint64_t directorySize = 0;
    std::uint64_t directoryOffset = 0;
    std::string comment;
};

bool FindEndRecord(std::FILE* file, std::uint64_t fileSize, EndRecord& end) {
    if (fileSize < kEndRecordSize)
        return false;
    const std::uint64_t tail = std::min<std::uint64_t>(fileSize, kEndRecordSize + kMaxCommentSize);
    std::vector<unsigned char> buffer(tail);
    if (!ReadAt(file, fileSize - tail, buffer.data(), buffer.size()))
        return false;
    for (std::size_t i = buffer.size() - kEndRecordSize + 1; i-- > 0;) {
        const unsigned char* p = buffer.data() + i;
        if (Le32(p) != kEndSignature)
            continue;
        end.position = fileSize - tail + i;
        end.entries = Le16(p + 10);
        end.directorySize = Le32(p + 12);
        end.directoryOffset = Le32(p + 16);
        const std::size_t available = buffer.size() - i - kEndRecordSize;
        end.comment.assign(reinterpret_cast<const char*>(p + kEndRecordSize),
                           std::min<std::size_t>(Le16(p + 20), available));
        return true;
    }
    return false;
}

// A ZIP64 end record, when its locator stands right before the end record, replaces the values.
// In a self-extracting file the locator's offset is off by the bytes in front, so the record is
// also looked for right before the locator.
void ApplyZip64End(std::FILE* file, EndRecord& end) {
    constexpr std::uint64_t kLocatorSize = 20;
    constexpr std::uint64_t kRecordSize = 56;
    if (end.position < kLocatorSize + kRecordSize)
        return;
    unsigned char locator[kLocatorSize];
    if (!ReadAt(file, end.position - kLocatorSize, locator, sizeof locator) ||
        Le32(locator) != kZip64LocatorSignature)
        return;
    unsigned char record[kRecordSize];
    const std::uint64_t adjacent = end.position - kLocatorSize - kRecordSize;
    std::uint64_t at = Le64(locator + 8);
    if (!ReadAt(file, at, record, sizeof record) || Le32(record) != kZip64EndSignature) {
        at = adjacent;
        if (!ReadAt(file, at, record, sizeof record) || Le32(record) != kZip64EndSignature)
            return;
    }
    end.position = at;
    end.entries = Le64(record + 32);
    end.directorySize = Le64(record + 40);
    end.directoryOffset = Le64(record + 48);
}

// The ZIP64 field holds only the values whose 32-bit fields are full, in this order.
void ApplyExtraFields(const unsigned char* extra, std::size_t size, CentralRecord& record) {
    const bool sizeInZip64 = record.size == 0xFFFFFFFF;
    const bool compressedInZip64 = record.compressedSize == 0xFFFFFFFF;
    const bool offsetInZip64 = record.localHeaderOffset == 0xFFFFFFFF;
    std::size_t at = 0;
    while (at + 4 <= size) {
        const std::uint16_t id = Le16(extra + at);
        const std::size_t length = Le16(extra + at + 2);
        const unsigned char* data = extra + at + 4;
        if (at + 4 + length > size)
            return;
        if (id == 0x0001) {
            std::size_t used = 0;
            for (auto [wanted, field] : {std::pair{sizeInZip64, &record.size},
                                         std::pair{compressedInZip64, &record.compressedSize},
                                         std::pair{offsetInZip64, &record.localHeaderOffset}}) {
                if (wanted && used + 8 <= length) {
                    *field = Le64(data + used);
                    used += 8;
                }
            }
        } else if (id == 0x9901 && length >= 7 && record.method == 99) {
            record.method = Le16(data + 5);
        }
        at += 4 + length;
    }
}

void ReadRecords(std::FILE* file, const EndRecord& end, std::uint64_t fileSize,
                 CentralDirectory& directory) {
    // Self-extracting files put data in front; the directory then sits later than declared.
    const std::uint64_t declaredEnd = end.directoryOffset + end.directorySize;
    const std::uint64_t shift = end.position > declaredEnd ? end.position - declaredEnd : 0;
    const std::uint64_t offset = end.directoryOffset + shift;
    if (offset > fileSize || end.directorySize > fileSize - offset)
        return;
    const std::uint64_t size = std::min(end.directorySize, kMaxDirectoryRead);
    std::vector<unsigned char> buffer(size);
    if (!ReadAt(file, offset, buffer.data(), buffer.size()))
        return;
    std::size_t at = 0;
    while (directory.records.size() < end.entries && at + 46 <= buffer.size()) {
        const unsigned char* p = buffer.data() + at;
        if (Le32(p) != kCentralSignature)
            return;
        const std::size_t nameLength = Le16(p + 28);
        const std::size_t extraLength = Le16(p + 30);
        const std::size_t commentLength = Le16(p + 32);
        const std::size_t recordSize = 46 + nameLength + extraLength + commentLength;
        if (at + recordSize > buffer.size())
            return;
        CentralRecord record;
        const std::string_view rawName(reinterpret_cast<const char*>(p + 46), nameLength);
        const bool utf8 = (Le16(p + 8) & 0x0800) != 0;
        record.name = utf8 ? std::string(rawName) : twlib::Cp437ToUtf8(rawName);
        record.method = Le16(p + 10);
        record.crc = Le32(p + 16);
        record.compressedSize = Le32(p + 20);
        record.size = Le32(p + 24);
        record.localHeaderOffset = Le32(p + 42);
        record.encrypted = (Le16(p + 8) & 0x0001) != 0;
        ApplyExtraFields(p + 46 + nameLength, extraLength, record);
        record.localHeaderOffset += shift;
        directory.records.push_back(std::move(record));
        at += recordSize;
    }
    directory.complete = directory.records.size() == end.entries;
}

} // namespace

CentralDirectory ReadCentralDirectory(const std::string& archivePath) {
    CentralDirectory directory;
    File file(std::fopen(archivePath.c_str(), "rb"));
    if (!file || fseeko(file.get(), 0, SEEK_END) != 0)
        return directory;
    const off_t fileSize = ftello(file.get());
    if (fileSize < 0)
        return directory;
    EndRecord end;
    if (!FindEndRecord(file.get(), static_cast<std::uint64_t>(fileSize), end))
        return directory;
    ApplyZip64End(file.get(), end);
    directory.endRecordFound = true;
    directory.declaredEntries = end.entries;
    directory.comment = end.comment;
    ReadRecords(file.get(), end, static_cast<std::uint64_t>(fileSize), directory);
    return directory;
}

CentralIndex::CentralIndex(const CentralDirectory& directory) : directory_(directory) {
    for (std::size_t i = 0; i < directory.records.size(); ++i)
        byName_.emplace(directory.records[i].name, i);
}

const CentralRecord* CentralIndex::Take(const std::string& name) {
    const auto found = byName_.find(name);
    if (found == byName_.end())
        return nullptr;
    const CentralRecord* record = &directory_.records[found->second];
    byName_.erase(found);
    return record;
}

} // namespace unzip32
