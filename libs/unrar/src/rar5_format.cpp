#include "rar5_format.h"

#include "byte_reader.h"
#include "crc32.h"
#include "dos_time.h"
#include "unrar.h"

#include <vector>

namespace unrar {
namespace {

// Larger headers are refused, as the format's own tools do.
constexpr std::uint64_t kMaxHeaderSize = 2u << 20;

constexpr std::uint64_t kMainHead = 1;
constexpr std::uint64_t kFileHead = 2;
constexpr std::uint64_t kServiceHead = 3;
constexpr std::uint64_t kCryptHead = 4;
constexpr std::uint64_t kEndHead = 5;

constexpr std::uint64_t kHasExtra = 0x0001;
constexpr std::uint64_t kHasData = 0x0002;
constexpr std::uint64_t kSplitBefore = 0x0008;
constexpr std::uint64_t kSplitAfter = 0x0010;

constexpr std::uint64_t kMainVolume = 0x0001;
constexpr std::uint64_t kMainVolumeNumber = 0x0002;
constexpr std::uint64_t kMainSolid = 0x0004;

constexpr std::uint64_t kFileFolder = 0x0001;
constexpr std::uint64_t kFileUnixTime = 0x0002;
constexpr std::uint64_t kFileCrc = 0x0004;

constexpr std::uint64_t kExtraCrypt = 1;
constexpr std::uint64_t kExtraTime = 3;
constexpr std::uint64_t kExtraRedirection = 5;

constexpr std::uint64_t kRedirectUnixLink = 1;
constexpr std::uint64_t kRedirectJunction = 3;

constexpr std::uint64_t kTimeUnix = 0x0001;
constexpr std::uint64_t kTimeModification = 0x0002;

constexpr std::uint64_t kHostWindows = 0;
constexpr std::uint64_t kSolidBit = 0x0040;

struct RawBlock {
    std::vector<unsigned char> bytes; // from the type field to the end of the header
    std::uint64_t type = 0;
    std::uint64_t flags = 0;
    std::uint64_t extraSize = 0;
    std::uint64_t dataSize = 0;
    std::size_t bodyStart = 0; // first field after the common ones
    std::uint64_t headerEnd = 0;
};

int ReadRaw(const VolumeFile& file, std::uint64_t offset, RawBlock& raw) {
    unsigned char lead[4 + 10];
    const long long got = file.ReadAt(offset, lead, sizeof lead);
    if (got < 0)
        return ERAR_EREAD;
    if (got == 0 && offset == file.Size())
        return ERAR_END_ARCHIVE;
    ByteReader sizeReader(lead + 4, got > 4 ? static_cast<std::size_t>(got) - 4 : 0);
    const std::uint64_t size = sizeReader.VarInt();
    if (!sizeReader.ok() || size == 0 || size > kMaxHeaderSize)
        return ERAR_BAD_DATA;
    const std::size_t sizeLength = sizeReader.position();
    std::vector<unsigned char> header(sizeLength + size);
    const long long full = file.ReadAt(offset + 4, header.data(), header.size());
    if (full < 0)
        return ERAR_EREAD;
    if (static_cast<std::size_t>(full) != header.size())
        return ERAR_BAD_DATA;
    const std::uint32_t stored =
        lead[0] | (lead[1] << 8) | (lead[2] << 16) | (static_cast<std::uint32_t>(lead[3]) << 24);
    if (Crc32(0, header.data(), header.size()) != stored)
        return ERAR_BAD_DATA;
    raw.bytes.assign(header.begin() + static_cast<std::ptrdiff_t>(sizeLength), header.end());
    ByteReader in(raw.bytes.data(), raw.bytes.size());
    raw.type = in.VarInt();
    raw.flags = in.VarInt();
    raw.extraSize = (raw.flags & kHasExtra) ? in.VarInt() : 0;
    raw.dataSize = (raw.flags & kHasData) ? in.VarInt() : 0;
    if (!in.ok() || raw.extraSize > in.remaining())
        return ERAR_BAD_DATA;
    raw.bodyStart = in.position();
    raw.headerEnd = offset + 4 + header.size();
    return ERAR_SUCCESS;
}

void ParseExtra(ByteReader extra, EntryHeader& entry) {
    while (extra.remaining() > 0) {
        const std::uint64_t size = extra.VarInt();
        if (!extra.ok() || size == 0 || size > extra.remaining())
            return;
        const std::string bytes = extra.Bytes(static_cast<std::size_t>(size));
        ByteReader record(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        const std::uint64_t type = record.VarInt();
        if (type == kExtraCrypt) {
            entry.encrypted = true;
        } else if (type == kExtraTime) {
            const std::uint64_t flags = record.VarInt();
            if (flags & kTimeModification) {
                const std::time_t mtime = (flags & kTimeUnix)
                                              ? static_cast<std::time_t>(record.U32())
                                              : FileTimeToUnix(record.U64());
                if (record.ok())
                    entry.mtime = mtime;
            }
        } else if (type == kExtraRedirection) {
            const std::uint64_t kind = record.VarInt();
            record.VarInt();
            const std::uint64_t length = record.VarInt();
            if (length <= record.remaining())
                entry.linkTarget = record.Bytes(static_cast<std::size_t>(length));
            entry.link = kind >= kRedirectUnixLink && kind <= kRedirectJunction;
            entry.otherLink = !entry.link;
        }
    }
}

bool ParseFile(const RawBlock& raw, EntryHeader& entry) {
    ByteReader in(raw.bytes.data(), raw.bytes.size() - static_cast<std::size_t>(raw.extraSize));
    in.Skip(raw.bodyStart);
    const std::uint64_t fileFlags = in.VarInt();
    entry.unpSize = in.VarInt();
    entry.attributes = static_cast<std::uint32_t>(in.VarInt());
    if (fileFlags & kFileUnixTime)
        entry.mtime = static_cast<std::time_t>(in.U32());
    if (fileFlags & kFileCrc) {
        entry.crc = in.U32();
        entry.hasCrc = true;
    }
    const std::uint64_t compression = in.VarInt();
    const std::uint64_t host = in.VarInt();
    const std::uint64_t nameLength = in.VarInt();
    if (!in.ok() || nameLength > in.remaining())
        return false;
    entry.name = in.Bytes(static_cast<std::size_t>(nameLength));
    entry.name = entry.name.substr(0, entry.name.find('\0'));
    entry.rawName = entry.name;
    entry.packSize = raw.dataSize;
    entry.hostOs = host == kHostWindows ? RAR_HOST_WIN32 : RAR_HOST_UNIX;
    entry.folder = fileFlags & kFileFolder;
    entry.solid = compression & kSolidBit;
    entry.method = 0x30 + static_cast<std::uint32_t>((compression >> 7) & 7);
    entry.unpVer = (compression & 0x3F) == 0 ? 50 : 70;
    entry.splitBefore = raw.flags & kSplitBefore;
    entry.splitAfter = raw.flags & kSplitAfter;
    ParseExtra(ByteReader(raw.bytes.data() + raw.bytes.size() - raw.extraSize,
                          static_cast<std::size_t>(raw.extraSize)),
               entry);
    if (entry.mtime != -1)
        entry.dosTime = UnixToDosTime(entry.mtime);
    return true;
}

} // namespace

int ReadRar5Main(const VolumeFile& file, std::uint64_t offset, ArchiveInfo& info) {
    RawBlock raw;
    const int result = ReadRaw(file, offset, raw);
    if (result == ERAR_EREAD)
        return result;
    if (result != ERAR_SUCCESS)
        return ERAR_BAD_DATA;
    info.generation = 5;
    info.newNumbering = true;
    if (raw.type == kCryptHead) {
        info.encryptedHeaders = true;
        return ERAR_SUCCESS;
    }
    if (raw.type != kMainHead)
        return ERAR_BAD_DATA;
    ByteReader in(raw.bytes.data(), raw.bytes.size());
    in.Skip(raw.bodyStart);
    const std::uint64_t flags = in.VarInt();
    if (flags & kMainVolumeNumber)
        in.VarInt();
    if (!in.ok())
        return ERAR_BAD_DATA;
    info.volume = flags & kMainVolume;
    info.solid = flags & kMainSolid;
    info.firstBlock = SaturatingAdd(raw.headerEnd, raw.dataSize);
    return ERAR_SUCCESS;
}

int ReadRar5Block(const VolumeFile& file, std::uint64_t offset, HeaderBlock& block) {
    RawBlock raw;
    if (const int result = ReadRaw(file, offset, raw))
        return result;
    block = HeaderBlock{};
    if (raw.type == kFileHead || raw.type == kServiceHead) {
        if (!ParseFile(raw, block.entry))
            return ERAR_BAD_DATA;
        block.kind = raw.type == kFileHead ? BlockKind::File : BlockKind::Service;
    } else if (raw.type == kEndHead) {
        ByteReader in(raw.bytes.data(), raw.bytes.size());
        in.Skip(raw.bodyStart);
        block.kind = BlockKind::End;
        block.nextVolume = in.VarInt() & 0x0001;
    } else if (raw.type == kCryptHead) {
        return ERAR_MISSING_PASSWORD;
    }
    block.dataStart = raw.headerEnd;
    block.next = SaturatingAdd(raw.headerEnd, raw.dataSize);
    return ERAR_SUCCESS;
}

} // namespace unrar
