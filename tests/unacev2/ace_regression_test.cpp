// Inputs from the fuzzer: damaged archives that reach deep into the header walk and the decoder.
// Each goes through the whole core and must end without a crash; anything the fuzzer finds
// that crashes goes into regressions/ beside them.
#include "archive_reader.h"
#include "entry_decoder.h"
#include "support/fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class NoVolumes final : public unacev2::VolumeEvents {
    bool EnterVolume(const std::string&) override { return false; }
    void VolumeMissing(const std::string&) override {}
};

class Discard final : public unacev2::ByteSink {
    bool Write(const std::uint8_t*, std::size_t) override { return true; }
};

TEST(AceRegressions, FuzzerFindingsEndCleanly) {
    const std::filesystem::path dir = TW_ACE_REGRESSION_DIR;
    if (!std::filesystem::is_directory(dir))
        GTEST_SKIP() << "no regression inputs";
    for (const auto& it : std::filesystem::directory_iterator(dir)) {
        NoVolumes volumes;
        auto reader = std::make_unique<unacev2::ArchiveReader>(volumes);
        unacev2::EntryDecoder decoder;
        if (reader->Open(it.path().string(), 1 << 16) != unacev2::ReadStatus::Ok)
            continue;
        unacev2::FileHeader entry;
        int entries = 0;
        while (reader->Next(entry) == unacev2::ReadStatus::Ok && entries++ < 1000) {
            if (!unacev2::EntryDecoder::Supports(entry))
                continue;
            Discard sink;
            decoder.Decode(entry, true, reader->Data(), "pw", sink);
        }
        SUCCEED() << it.path();
    }
}

} // namespace
