#include "rar4_format.h"

#include "byte_reader.h"
#include "crc32.h"
#include "dos_time.h"
#include "entry_name.h"
#include "unrar.h"

#include <vector>

namespace unrar {
namespace {

constexpr unsigned kMainHead = 0x73;
constexpr unsigned kFileHead = 0x74;
constexpr unsigned kServiceHead = 0x7A;
constexpr unsigned kEndHead = 0x7B;

constexpr unsigned kLongBlock = 0x8000;

constexpr unsigned kMainVolume = 0x0001;
constexpr unsigned kMainSolid = 0x0008;
constexpr unsigned kMainNewNumbering = 0x0010;
constexpr unsigned kMainPassword = 0x0080;

constexpr unsigned kFileSplitBefore = 0x0001;
constexpr unsigned kFileSplitAfter = 0x0002;
constexpr unsigned kFilePassword = 0x0004;
constexpr unsigned kFileSolid = 0x0010;
constexpr unsigned kFileWindowMask = 0x00E0;
constexpr unsigned kFileLarge = 0x0100;
constexpr unsigned kFileUnicode = 0x0200;

constexpr unsigned kEndNextVolume = 0x0001;

constexpr std::uint32_t kUnixTypeMask = 0170000;
constexpr std::uint32_t kUnixLink = 0120000;

struct RawBlock {
    unsigned type = 0;
    unsigned flags = 0;
    std::vector<unsigned char> bytes;
};

int ReadRaw(const VolumeFile& file, std::uint64_t offset, RawBlock& raw) {
    unsigned char base[7];
    const long long got = file.ReadAt(offset, base, sizeof base);
    if (got < 0)
        return ERAR_EREAD;
    if (got == 0 && offset == file.Size())
        return ERAR_END_ARCHIVE;
    if (got < 7)
        return ERAR_BAD_DATA;
    const unsigned size = base[5] | (base[6] << 8);
    if (size < 7)
        return ERAR_BAD_DATA;
    raw.bytes.resize(size);
    const long long full = file.ReadAt(offset, raw.bytes.data(), size);
    if (full < 0)
        return ERAR_EREAD;
    if (full != size)
        return ERAR_BAD_DATA;
    const unsigned stored = base[0] | (base[1] << 8);
    if ((Crc32(0, raw.bytes.data() + 2, size - 2) & 0xFFFF) != stored)
        return ERAR_BAD_DATA;
    raw.type = base[2];
    raw.flags = base[3] | (base[4] << 8);
    return ERAR_SUCCESS;
}

bool ParseFile(const RawBlock& raw, EntryHeader& entry, std::uint64_t& packSize) {
    ByteReader in(raw.bytes.data(), raw.bytes.size());
    in.Skip(7);
    std::uint64_t pack = in.U32();
    std::uint64_t unp = in.U32();
    entry.hostOs = in.U8();
    entry.crc = in.U32();
    entry.hasCrc = true;
    entry.dosTime = in.U32();
    entry.unpVer = in.U8();
    entry.method = in.U8();
    const unsigned nameSize = in.U16();
    entry.attributes = in.U32();
    if (raw.flags & kFileLarge) {
        pack |= static_cast<std::uint64_t>(in.U32()) << 32;
        unp |= static_cast<std::uint64_t>(in.U32()) << 32;
    }
    const std::string field = in.Bytes(nameSize);
    if (!in.ok())
        return false;
    entry.packSize = pack;
    entry.unpSize = unp;
    packSize = pack;
    const std::string narrow = field.substr(0, field.find('\0'));
    entry.rawName = WithSlashes(narrow);
    entry.name =
        WithSlashes((raw.flags & kFileUnicode) ? DecodeRar4UnicodeName(field)
                                               : DecodeRar4NarrowName(narrow, entry.hostOs));
    entry.splitBefore = raw.flags & kFileSplitBefore;
    entry.splitAfter = raw.flags & kFileSplitAfter;
    entry.encrypted = raw.flags & kFilePassword;
    entry.solid = raw.flags & kFileSolid;
    entry.folder = (raw.flags & kFileWindowMask) == kFileWindowMask;
    entry.link = entry.hostOs == RAR_HOST_UNIX && (entry.attributes & kUnixTypeMask) == kUnixLink;
    entry.mtime = DosTimeToUnix(entry.dosTime);
    return true;
}

} // namespace

int ReadRar4Main(const VolumeFile& file, std::uint64_t offset, ArchiveInfo& info) {
    RawBlock raw;
    const int result = ReadRaw(file, offset, raw);
    if (result == ERAR_EREAD)
        return result;
    if (result != ERAR_SUCCESS || raw.type != kMainHead || raw.bytes.size() < 13)
        return ERAR_BAD_DATA;
    info.generation = 4;
    info.volume = raw.flags & kMainVolume;
    info.newNumbering = raw.flags & kMainNewNumbering;
    info.solid = raw.flags & kMainSolid;
    info.encryptedHeaders = raw.flags & kMainPassword;
    info.firstBlock = offset + raw.bytes.size();
    return ERAR_SUCCESS;
}

int ReadRar4Block(const VolumeFile& file, std::uint64_t offset, HeaderBlock& block) {
    RawBlock raw;
    if (const int result = ReadRaw(file, offset, raw))
        return result;
    block = HeaderBlock{};
    std::uint64_t dataSize = 0;
    if (raw.type == kFileHead || raw.type == kServiceHead) {
        if (!ParseFile(raw, block.entry, dataSize))
            return ERAR_BAD_DATA;
        block.kind = raw.type == kFileHead ? BlockKind::File : BlockKind::Service;
    } else if (raw.flags & kLongBlock) {
        ByteReader in(raw.bytes.data(), raw.bytes.size());
        in.Skip(7);
        dataSize = in.U32();
        if (!in.ok())
            return ERAR_BAD_DATA;
    }
    if (raw.type == kEndHead) {
        block.kind = BlockKind::End;
        block.nextVolume = raw.flags & kEndNextVolume;
    }
    block.dataStart = offset + raw.bytes.size();
    block.next = SaturatingAdd(offset + raw.bytes.size(), dataSize);
    return ERAR_SUCCESS;
}

} // namespace unrar
