#include "support/rar_writer.h"

#include "support/fixtures.h"

#include <array>
#include <cstdio>

namespace tw::test {
namespace {

constexpr std::uint32_t kUnixLinkMode = 0120777;

void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutVarInt(std::string& out, std::uint64_t v) {
    do {
        unsigned char byte = v & 0x7F;
        v >>= 7;
        if (v)
            byte |= 0x80;
        out += static_cast<char>(byte);
    } while (v);
}

std::uint32_t DosTime(std::time_t time) {
    std::tm t{};
    localtime_r(&time, &t);
    return (static_cast<std::uint32_t>(t.tm_year - 80) << 25) |
           (static_cast<std::uint32_t>(t.tm_mon + 1) << 21) |
           (static_cast<std::uint32_t>(t.tm_mday) << 16) |
           (static_cast<std::uint32_t>(t.tm_hour) << 11) |
           (static_cast<std::uint32_t>(t.tm_min) << 5) | static_cast<std::uint32_t>(t.tm_sec / 2);
}

std::vector<std::uint16_t> Utf16(const std::string& utf8) {
    std::vector<std::uint16_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra)
            cp = c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += 1 + extra;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<std::uint16_t>(cp));
        }
    }
    return out;
}

// Narrow name, NUL, high byte 0, then every unit in full (opcode 2, four to a flag byte).
std::string CompactUnicodeField(const std::string& utf8) {
    const auto units = Utf16(utf8);
    std::string field;
    for (auto u : units)
        field += u < 0x80 ? static_cast<char>(u) : '_';
    field += '\0';
    field += '\0';
    for (std::size_t i = 0; i < units.size(); i += 4) {
        field += static_cast<char>(0xAA);
        for (std::size_t k = i; k < i + 4 && k < units.size(); ++k)
            Put16(field, units[k]);
    }
    return field;
}

bool IsAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

struct Part {
    const RarTestEntry* entry;
    std::string data; // this part's bytes
    bool before, after, solid;
};

std::string EntryData(const RarTestEntry& entry) {
    return entry.linkTarget.empty() ? entry.data : entry.linkTarget;
}

std::uint32_t StoredCrc(const Part& part) {
    const std::uint32_t crc = RarCrc32(EntryData(*part.entry));
    return part.entry->wrongCrc ? crc ^ 0x5A5A5A5A : crc;
}

// ---- RAR 4 ----

std::string Rar4Block(unsigned type, unsigned flags, const std::string& body) {
    std::string rest;
    rest += static_cast<char>(type);
    Put16(rest, flags);
    Put16(rest, static_cast<std::uint32_t>(rest.size() + 4 + body.size()));
    rest += body;
    std::string out;
    Put16(out, RarCrc32(rest) & 0xFFFF);
    return out + rest;
}

std::string Rar4Main(unsigned flags) {
    return Rar4Block(0x73, flags, std::string(6, '\0'));
}

std::string Rar4File(const Part& part, unsigned type = 0x74) {
    const RarTestEntry& e = *part.entry;
    unsigned flags = 0x8000;
    flags |= part.before ? 0x01 : 0;
    flags |= part.after ? 0x02 : 0;
    flags |= e.encrypted ? 0x04 : 0;
    flags |= part.solid ? 0x10 : 0;
    flags |= e.folder ? 0xE0 : 0;
    std::string name = e.name;
    if (!e.unixHost)
        for (auto& c : name)
            if (c == '/')
                c = '\\';
    if (e.compactUnicode) {
        name = CompactUnicodeField(name);
        flags |= 0x200;
    } else if (!IsAscii(name)) {
        flags |= 0x200;
    }
    const bool unix = e.unixHost || !e.linkTarget.empty();
    std::uint32_t attributes =
        unix ? (e.linkTarget.empty() ? (e.folder ? 040755 : e.mode) : kUnixLinkMode)
             : (e.folder ? 0x10 : e.attributes);
    std::string body;
    Put32(body, static_cast<std::uint32_t>(part.data.size()));
    Put32(body, static_cast<std::uint32_t>(EntryData(e).size()));
    body += static_cast<char>(unix ? 3 : 2);
    Put32(body, part.after ? RarCrc32(part.data) : StoredCrc(part));
    Put32(body, DosTime(e.mtime));
    body += static_cast<char>(29);
    body += static_cast<char>(0x30);
    Put16(body, static_cast<std::uint32_t>(name.size()));
    Put32(body, attributes);
    body += name;
    return Rar4Block(type, flags, body) + part.data;
}

std::string Rar4End(bool nextVolume) {
    return Rar4Block(0x7B, nextVolume ? 0x01 : 0, "");
}

// ---- RAR 5 ----

std::string Rar5Block(std::uint64_t type, std::uint64_t flags, const std::string& body,
                      const std::string& extra, std::uint64_t dataSize) {
    std::string rest;
    PutVarInt(rest, type);
    PutVarInt(rest, flags | (extra.empty() ? 0 : 0x01) | (dataSize ? 0x02 : 0));
    if (!extra.empty())
        PutVarInt(rest, extra.size());
    if (dataSize)
        PutVarInt(rest, dataSize);
    rest += body + extra;
    std::string sized;
    PutVarInt(sized, rest.size());
    sized += rest;
    std::string out;
    Put32(out, RarCrc32(sized));
    return out + sized;
}

std::string Rar5Main(bool volume, int number, bool solid) {
    std::string body;
    std::uint64_t flags = (volume ? 0x01 : 0) | (number > 0 ? 0x02 : 0) | (solid ? 0x04 : 0);
    PutVarInt(body, flags);
    if (number > 0)
        PutVarInt(body, static_cast<std::uint64_t>(number));
    return Rar5Block(1, 0, body, "", 0);
}

std::string Rar5File(const Part& part, std::uint64_t type = 2) {
    const RarTestEntry& e = *part.entry;
    const bool link = !e.linkTarget.empty();
    const std::string data = link ? "" : part.data;
    std::string body;
    PutVarInt(body, (e.folder ? 0x01 : 0) | 0x02 | 0x04);
    PutVarInt(body, link ? 0 : e.data.size());
    const bool unix = e.unixHost || link;
    PutVarInt(body, unix ? (link       ? kUnixLinkMode
                            : e.folder ? 040755
                                       : e.mode)
                         : (e.folder ? 0x10 : e.attributes));
    Put32(body, static_cast<std::uint32_t>(e.mtime));
    Put32(body, link ? 0 : part.after ? RarCrc32(part.data) : StoredCrc(part));
    PutVarInt(body, part.solid ? 0x40 : 0);
    PutVarInt(body, unix ? 1 : 0);
    PutVarInt(body, e.name.size());
    body += e.name;
    std::string extra;
    if (e.encrypted) {
        std::string record;
        PutVarInt(record, 1);
        PutVarInt(record, 0);
        PutVarInt(record, 0);
        record += static_cast<char>(15);
        record += std::string(32, '\x11');
        PutVarInt(extra, record.size());
        extra += record;
    }
    if (link) {
        std::string record;
        PutVarInt(record, 5);
        PutVarInt(record, 1);
        PutVarInt(record, 0);
        PutVarInt(record, e.linkTarget.size());
        record += e.linkTarget;
        PutVarInt(extra, record.size());
        extra += record;
    }
    const std::uint64_t flags = (part.before ? 0x08 : 0) | (part.after ? 0x10 : 0);
    return Rar5Block(type, flags, body, extra, data.size()) + data;
}

std::string Rar5End(bool nextVolume) {
    std::string body;
    PutVarInt(body, nextVolume ? 1 : 0);
    return Rar5Block(5, 0, body, "", 0);
}

// ---- volumes ----

struct Volume {
    std::vector<Part> parts;
};

std::vector<Volume> Distribute(const std::vector<RarTestEntry>& entries, std::size_t capacity,
                               bool solid) {
    std::vector<Volume> volumes(1);
    std::size_t left = capacity;
    bool first = true;
    for (const auto& entry : entries) {
        const std::string data = EntryData(entry);
        std::size_t done = 0;
        bool before = false;
        do {
            if (left == 0 && (data.size() > done || !before)) {
                volumes.emplace_back();
                left = capacity;
            }
            const std::size_t take = std::min(left, data.size() - done);
            const bool after = done + take < data.size();
            volumes.back().parts.push_back(
                {&entry, data.substr(done, take), before, after, solid && !first});
            done += take;
            left -= take;
            before = true;
        } while (done < data.size());
        first = false;
    }
    return volumes;
}

std::string Signature(RarFormat format) {
    return format == RarFormat::Rar4 ? std::string("Rar!\x1a\x07\x00", 7)
                                     : std::string("Rar!\x1a\x07\x01\x00", 8);
}

std::string VolumeBytes(const Volume& volume, const RarTestOptions& options, bool isSet,
                        bool newNumbering, int number, bool last, std::size_t* firstFileHeader) {
    const bool rar4 = options.format == RarFormat::Rar4;
    std::string out = options.sfxPrefix + Signature(options.format);
    if (rar4) {
        unsigned flags = (isSet ? 0x01 : 0) | (options.solid ? 0x08 : 0) |
                         (isSet && newNumbering ? 0x10 : 0) | (isSet && number == 0 ? 0x100 : 0);
        if (options.damage == RarDamage::EncryptedHeaders)
            return out + Rar4Main(flags | 0x80) + std::string(64, '\x5c');
        out += Rar4Main(flags);
    } else {
        if (options.damage == RarDamage::EncryptedHeaders) {
            std::string body;
            PutVarInt(body, 0);
            PutVarInt(body, 0);
            body += static_cast<char>(15);
            body += std::string(16, '\x22');
            return out + Rar5Block(4, 0, body, "", 0) + std::string(64, '\x5c');
        }
        out += Rar5Main(isSet, number, options.solid);
    }
    if (!options.comment.empty() && number == 0) {
        RarTestEntry comment;
        comment.name = "CMT";
        comment.data = options.comment;
        const Part part{&comment, comment.data, false, false, false};
        out += rar4 ? Rar4File(part, 0x7A) : Rar5File(part, 3);
    }
    if (firstFileHeader)
        *firstFileHeader = out.size();
    for (const auto& part : volume.parts)
        out += rar4 ? Rar4File(part) : Rar5File(part);
    out += rar4 ? Rar4End(!last) : Rar5End(!last);
    return out;
}

std::string ApplyDamage(std::string archive, RarDamage damage, std::size_t firstFileHeader,
                        const RarTestOptions& options) {
    switch (damage) {
    case RarDamage::BrokenFileHeader:
        archive[firstFileHeader + 8] = static_cast<char>(archive[firstFileHeader + 8] ^ 0x01);
        break;
    case RarDamage::Truncated:
        archive.resize(archive.size() - (options.format == RarFormat::Rar4 ? 7 : 8) - 2);
        break;
    case RarDamage::FutureVersion:
        archive[options.sfxPrefix.size() + 6] = 0x02;
        break;
    case RarDamage::None:
    case RarDamage::EncryptedHeaders:
        break;
    }
    return archive;
}

std::string VolumeName(const std::string& base, int index, RarVolumeNaming naming, int digits) {
    char number[32];
    if (naming == RarVolumeNaming::NewStyle) {
        std::snprintf(number, sizeof number, ".part%0*d.rar", digits, index + 1);
        return base + number;
    }
    if (index == 0)
        return base + ".rar";
    const int n = index - 1;
    std::snprintf(number, sizeof number, ".%c%02d", 'r' + n / 100, n % 100);
    return base + number;
}

} // namespace

std::uint32_t RarCrc32(const std::string& data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data)
        crc = table[(crc ^ c) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string MakeRar(const std::vector<RarTestEntry>& entries, const RarTestOptions& options) {
    const auto volumes = Distribute(entries, ~std::size_t{0}, options.solid);
    std::size_t firstFileHeader = 0;
    const std::string archive =
        VolumeBytes(volumes[0], options, false, false, 0, true, &firstFileHeader);
    return ApplyDamage(archive, options.damage, firstFileHeader, options);
}

std::vector<std::filesystem::path>
WriteRarVolumes(const std::filesystem::path& folder, const std::string& baseName,
                const std::vector<RarTestEntry>& entries, std::size_t dataPerVolume,
                const RarTestOptions& options, RarVolumeNaming naming, int digits) {
    const auto volumes = Distribute(entries, dataPerVolume, options.solid);
    std::vector<std::filesystem::path> paths;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        RarTestOptions volumeOptions = options;
        if (i > 0)
            volumeOptions.sfxPrefix.clear();
        const bool last = i + 1 == volumes.size();
        const std::string bytes =
            VolumeBytes(volumes[i], volumeOptions, true, naming == RarVolumeNaming::NewStyle,
                        static_cast<int>(i), last, nullptr);
        paths.push_back(folder / VolumeName(baseName, static_cast<int>(i), naming, digits));
        WriteFile(paths.back(), bytes);
    }
    return paths;
}

} // namespace tw::test
