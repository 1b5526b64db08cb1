#include "support/fixtures.h"
#include "support/rar_writer.h"
#include "support/temp_home.h"
#include "unrar_client.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using tw::test::RarFormat;
using tw::test::RarTestEntry;
using tw::test::RarVolumeNaming;
using tw::test::RunArchive;
using tw::test::RunOptions;
using tw::test::WriteRarVolumes;

RarTestEntry File(const std::string& name, const std::string& data) {
    RarTestEntry entry;
    entry.name = name;
    entry.data = data;
    return entry;
}

struct SetCase {
    RarFormat format;
    RarVolumeNaming naming;
    int digits;
};

std::string SetCaseName(const testing::TestParamInfo<SetCase>& paramInfo) {
    const SetCase& set = paramInfo.param;
    return std::string(set.format == RarFormat::Rar4 ? "Rar4" : "Rar5") +
           (set.naming == RarVolumeNaming::NewStyle ? "NewStyle" : "OldStyle");
}

class UnrarVolumeSet : public testing::TestWithParam<SetCase> {
protected:
    // With 100 bytes per volume: big.bin spans volumes 1 to 3, fits.txt ends exactly with
    // volume 3, next/start.txt opens volume 4 and small.txt stays inside it.
    void SetUp() override {
        entries_ = {File("big.bin", std::string(250, 'B')), File("fits.txt", std::string(50, 'f')),
                    File("next/start.txt", std::string(40, 's')), File("small.txt", "tiny")};
        tw::test::RarTestOptions options{GetParam().format};
        volumes_ = WriteRarVolumes(tw::test::CurrentHome().work, "set", entries_, 100, options,
                                   GetParam().naming, GetParam().digits);
        ASSERT_EQ(volumes_.size(), 4u);
    }

    std::vector<tw::test::VolumeCall> Notifications(std::size_t from = 1) const {
        std::vector<tw::test::VolumeCall> calls;
        for (std::size_t i = from; i < volumes_.size(); ++i)
            calls.push_back({volumes_[i].string(), RAR_VOL_NOTIFY});
        return calls;
    }

    std::vector<RarTestEntry> entries_;
    std::vector<fs::path> volumes_;
};

TEST_P(UnrarVolumeSet, ListsEveryEntryOnceAndAnnouncesEachVolume) {
    for (const unsigned mode : {unsigned{RAR_OM_LIST}, unsigned{RAR_OM_EXTRACT}}) {
        SCOPED_TRACE(mode);
        const auto result = RunArchive(volumes_[0], {mode, RAR_SKIP});
        ASSERT_EQ(result.openResult, 0u);
        EXPECT_EQ(result.endResult, ERAR_END_ARCHIVE);
        EXPECT_EQ(tw::test::Names(result),
                  (std::vector<std::string>{"big.bin", "fits.txt", "next/start.txt", "small.txt"}));
        EXPECT_EQ(result.entries[0].flags & (RHDF_SPLITBEFORE | RHDF_SPLITAFTER),
                  unsigned{RHDF_SPLITAFTER});
        EXPECT_EQ(result.entries[2].volume, volumes_[3].string());
        EXPECT_EQ(result.volumeCalls, Notifications());
    }
}

TEST_P(UnrarVolumeSet, ListsEveryPartWhenAskedTo) {
    const auto result = RunArchive(volumes_[0], {RAR_OM_LIST_INCSPLIT});
    EXPECT_EQ(tw::test::Names(result),
              (std::vector<std::string>{"big.bin", "big.bin", "big.bin", "fits.txt",
                                        "next/start.txt", "small.txt"}));
    ASSERT_EQ(result.entries.size(), 6u);
    EXPECT_EQ(result.entries[1].flags & 3u, unsigned{RHDF_SPLITBEFORE | RHDF_SPLITAFTER});
    EXPECT_EQ(result.entries[2].flags & 3u, unsigned{RHDF_SPLITBEFORE});
}

TEST_P(UnrarVolumeSet, ExtractsAcrossVolumes) {
    const auto dest = tw::test::CurrentHome().root / "out";
    fs::create_directories(dest);
    const auto result = RunArchive(volumes_[0], {RAR_OM_EXTRACT, RAR_EXTRACT, dest});
    ASSERT_EQ(result.entries.size(), 4u);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        EXPECT_EQ(result.entries[i].processResult, 0) << entries_[i].name;
        EXPECT_EQ(tw::test::ReadFile(dest / entries_[i].name), entries_[i].data);
    }
    EXPECT_EQ(result.volumeCalls, Notifications());
}

TEST_P(UnrarVolumeSet, AsksForAMissingVolumeAndStopsWhenTold) {
    const fs::path moved = tw::test::CurrentHome().root / "elsewhere";
    fs::create_directories(moved);
    fs::rename(volumes_[2], moved / volumes_[2].filename());
    for (const unsigned mode : {unsigned{RAR_OM_LIST}, unsigned{RAR_OM_EXTRACT}}) {
        SCOPED_TRACE(mode);
        const auto result = RunArchive(volumes_[0], {mode, RAR_TEST});
        const std::vector<tw::test::VolumeCall> expected = {{volumes_[1].string(), RAR_VOL_NOTIFY},
                                                            {volumes_[2].string(), RAR_VOL_ASK}};
        EXPECT_EQ(result.volumeCalls, expected);
        if (mode == RAR_OM_LIST) {
            EXPECT_EQ(result.endResult, ERAR_EOPEN);
        } else {
            ASSERT_EQ(result.entries.size(), 1u);
            EXPECT_EQ(result.entries[0].processResult, ERAR_EOPEN);
        }
    }
}

TEST_P(UnrarVolumeSet, LooksAgainWhereTheCallbackPointsAfterAskingForAVolume) {
    const fs::path moved = tw::test::CurrentHome().root / "elsewhere";
    fs::create_directories(moved);
    for (std::size_t i = 2; i < volumes_.size(); ++i)
        fs::rename(volumes_[i], moved / volumes_[i].filename());
    RunOptions options{RAR_OM_EXTRACT, RAR_TEST};
    options.askAnswers = {{1, ""}, {1, (moved / volumes_[2].filename()).string()}};
    const auto result = RunArchive(volumes_[0], options);
    EXPECT_EQ(result.endResult, ERAR_END_ARCHIVE);
    ASSERT_EQ(result.entries.size(), 4u);
    for (const auto& entry : result.entries)
        EXPECT_EQ(entry.processResult, 0) << entry.name;
    const std::vector<tw::test::VolumeCall> expected = {
        {volumes_[1].string(), RAR_VOL_NOTIFY},
        {volumes_[2].string(), RAR_VOL_ASK},
        {volumes_[2].string(), RAR_VOL_ASK},
        {(moved / volumes_[2].filename()).string(), RAR_VOL_NOTIFY},
        {(moved / volumes_[3].filename()).string(), RAR_VOL_NOTIFY}};
    EXPECT_EQ(result.volumeCalls, expected);
}

INSTANTIATE_TEST_SUITE_P(Sets, UnrarVolumeSet,
                         testing::Values(SetCase{RarFormat::Rar4, RarVolumeNaming::NewStyle, 1},
                                         SetCase{RarFormat::Rar4, RarVolumeNaming::OldStyle, 1},
                                         SetCase{RarFormat::Rar5, RarVolumeNaming::NewStyle, 2}),
                         SetCaseName);

TEST(UnrarOldStyleVolumes, GoOnPastR99) {
    const std::string data(105, 'v');
    tw::test::RarTestOptions options{RarFormat::Rar4};
    const auto volumes =
        WriteRarVolumes(tw::test::CurrentHome().work, "long", {File("v.bin", data)}, 1, options,
                        RarVolumeNaming::OldStyle);
    ASSERT_EQ(volumes.size(), 105u);
    ASSERT_EQ(volumes.back().filename(), "long.s03");
    const auto dest = tw::test::CurrentHome().root / "out";
    fs::create_directories(dest);
    const auto result = RunArchive(volumes[0], {RAR_OM_EXTRACT, RAR_EXTRACT, dest});
    ASSERT_EQ(result.entries.size(), 1u);
    EXPECT_EQ(result.entries[0].processResult, 0);
    EXPECT_EQ(tw::test::ReadFile(dest / "v.bin"), data);
    ASSERT_EQ(result.volumeCalls.size(), 104u);
    EXPECT_EQ(result.volumeCalls.back().name, volumes.back().string());
}

} // namespace
