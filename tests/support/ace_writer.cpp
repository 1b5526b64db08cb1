#include "support/ace_writer.h"

#include "blowfish.h"
#include "crc32.h"

#include <algorithm>
#include <stdexcept>

namespace tw::test::ace {
namespace {

constexpr std::uint16_t kAddSize = 1u << 0;
constexpr std::uint16_t kMultiVolume = 1u << 11;
constexpr std::uint16_t kSolid = 1u << 15;
constexpr std::uint16_t kContinued = 1u << 12;
constexpr std::uint16_t kContinues = 1u << 13;
constexpr std::uint16_t kEncrypted = 1u << 14;

void Put(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t Crc(const std::string& bytes) {
    return unacev2::AceCrc32(unacev2::kAceCrcInit,
                             reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::uint32_t Le32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + i])) << (8 * i);
    return v;
}

} // namespace

std::uint32_t AceCrc32(const std::string& bytes) {
    return Crc(bytes);
}

std::string Block(const std::string& body) {
    if (body.size() > 0xFFFF)
        throw std::invalid_argument("ACE header too long");
    std::string out;
    Put(out, Crc(body) & 0xFFFF, 2);
    Put(out, body.size(), 2);
    return out + body;
}

std::string MainHeaderBody(std::uint16_t flags, std::uint8_t volume,
                           std::uint8_t versionToExtract) {
    std::string b;
    Put(b, 0, 1);
    Put(b, flags, 2);
    b += "**ACE**";
    Put(b, versionToExtract, 1);
    Put(b, 20, 1); // made by 2.0
    Put(b, 2, 1);  // Win32
    Put(b, volume, 1);
    Put(b, 0x5A2B6000, 4);
    b += std::string(8, '\0');
    Put(b, 0, 1); // advert length, present even without its flag
    return b;
}

std::string FileHeaderBody(std::uint16_t flags, std::uint32_t packedSize, std::uint32_t size,
                           std::uint32_t crc, std::uint32_t attributes, std::uint32_t dosTime,
                           const std::string& name) {
    std::string b;
    Put(b, 1, 1);
    Put(b, flags, 2);
    Put(b, packedSize, 4);
    Put(b, size, 4);
    Put(b, dosTime, 4);
    Put(b, attributes, 4);
    Put(b, crc, 4);
    Put(b, 0, 1);      // stored
    Put(b, 3, 1);      // quality
    Put(b, 0x000A, 2); // 1 MiB dictionary
    Put(b, 0, 2);
    Put(b, name.size(), 2);
    return b + name;
}

std::string Encrypt(const std::string& data, const std::string& password) {
    std::string out = data;
    out.resize((out.size() + 7) / 8 * 8, '\0');
    std::uint32_t key[5];
    unacev2::AceDeriveKey(reinterpret_cast<const std::uint8_t*>(password.data()), password.size(),
                          key);
    const unacev2::AceBlowfish cipher(key);
    std::uint32_t ivL = 0;
    std::uint32_t ivR = 0;
    for (std::size_t i = 0; i < out.size(); i += 8) {
        std::uint32_t l = Le32(out, i) ^ ivL;
        std::uint32_t r = Le32(out, i + 4) ^ ivR;
        cipher.EncryptBlock(l, r);
        std::string block;
        Put(block, l, 4);
        Put(block, r, 4);
        out.replace(i, 8, block);
        ivL = l;
        ivR = r;
    }
    return out;
}

std::vector<std::string> WriteVolumes(const std::vector<Entry>& entries, const Options& options) {
    const bool multi = options.volumeData != 0;
    const std::uint16_t mainFlags =
        static_cast<std::uint16_t>((options.solid ? kSolid : 0) | (multi ? kMultiVolume : 0));
    std::vector<std::string> volumes;
    std::size_t left = 0;
    auto startVolume = [&] {
        volumes.push_back(volumes.empty() ? options.sfxPrefix : std::string());
        volumes.back() += Block(MainHeaderBody(
            mainFlags, static_cast<std::uint8_t>(volumes.size() - 1), options.versionToExtract));
        left = options.volumeData;
    };
    startVolume();

    for (const auto& e : entries) {
        const std::uint32_t attributes = e.directory ? 0x10 : 0x20;
        const std::string packed = e.password.empty() ? e.data : Encrypt(e.data, e.password);
        std::uint16_t flags = static_cast<std::uint16_t>(kAddSize | (options.solid ? kSolid : 0) |
                                                         (e.password.empty() ? 0 : kEncrypted));
        std::size_t done = 0;
        do {
            if (multi && left == 0)
                startVolume();
            const std::size_t part =
                multi ? std::min(left, packed.size() - done) : packed.size() - done;
            const bool more = done + part < packed.size();
            const std::uint16_t partFlags = static_cast<std::uint16_t>(
                flags | (done > 0 ? kContinued : 0) | (more ? kContinues : 0));
            // Parts before the last carry the CRC of what they hold so far, as ACE writes them.
            const std::uint32_t crc =
                Crc(more ? e.data.substr(0, std::min(done + part, e.data.size())) : e.data);
            volumes.back() += Block(FileHeaderBody(partFlags, static_cast<std::uint32_t>(part),
                                                   static_cast<std::uint32_t>(e.data.size()), crc,
                                                   attributes, e.dosTime, e.name));
            volumes.back() += packed.substr(done, part);
            done += part;
            if (multi)
                left -= part;
        } while (done < packed.size());
    }
    return volumes;
}

std::string Write(const std::vector<Entry>& entries, const Options& options) {
    Options single = options;
    single.volumeData = 0;
    return WriteVolumes(entries, single).front();
}

} // namespace tw::test::ace
