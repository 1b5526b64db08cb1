// libFuzzer target for the ACE core. The first byte picks the layer: with its top bit set the rest
// goes straight to the decompressor (method, solid flag and output size from the next bytes),
// otherwise it is an archive file to walk, decoding every entry.
#include "archive_reader.h"
#include "bit_reader.h"
#include "decoder.h"
#include "entry_decoder.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace {

class Discard final : public unacev2::ByteSink {
public:
    bool Write(const std::uint8_t*, std::size_t) override { return true; }
};

class NoVolumes final : public unacev2::VolumeEvents {
    bool EnterVolume(const std::string&) override { return true; }
    void VolumeMissing(const std::string&) override {}
};

void FuzzDecoder(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return;
    static unacev2::Decoder decoder;
    const unsigned method = (data[0] & 1) ? unacev2::kMethodBlocked : unacev2::kMethodLz77;
    if (!(data[0] & 2))
        decoder.ResetStream();
    const std::uint64_t outSize = (static_cast<std::uint64_t>(data[1]) << 8 | data[2]) << 4;
    unacev2::MemorySource src(data + 3, size - 3);
    auto in = std::make_unique<unacev2::BitReader>(src);
    Discard sink;
    decoder.DecodeFile(method, outSize, *in, sink);
}

void FuzzArchive(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("ace-fuzz", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    NoVolumes volumes;
    auto reader = std::make_unique<unacev2::ArchiveReader>(volumes);
    if (reader->Open(path, 1 << 16) != unacev2::ReadStatus::Ok)
        return;
    unacev2::EntryDecoder decoder;
    unacev2::FileHeader entry;
    const bool solid = (reader->Main().flags & unacev2::kMainSolid) != 0;
    while (reader->Next(entry) == unacev2::ReadStatus::Ok) {
        if (!unacev2::EntryDecoder::Supports(entry))
            continue;
        Discard sink;
        unacev2::CrcSink crc(&sink);
        decoder.Decode(entry, solid, reader->Data(), "1234", crc);
        reader->FinishEntry();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 0x80)
        FuzzDecoder(data + 1, size - 1);
    else
        FuzzArchive(data + 1, size - 1);
    return 0;
}
