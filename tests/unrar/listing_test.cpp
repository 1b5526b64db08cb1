#include "support/fixtures.h"
#include "support/rar_writer.h"
#include "support/temp_home.h"
#include "unrar_client.h"

#include <gtest/gtest.h>

namespace {

using tw::test::MakeRar;
using tw::test::RarDamage;
using tw::test::RarFormat;
using tw::test::RarTestEntry;
using tw::test::RarTestOptions;
using tw::test::RunArchive;

std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    const auto path = tw::test::CurrentHome().work / name;
    tw::test::WriteFile(path, bytes);
    return path;
}

std::uint32_t DosTime(std::time_t time) {
    std::tm t{};
    localtime_r(&time, &t);
    return (static_cast<std::uint32_t>(t.tm_year - 80) << 25) | ((t.tm_mon + 1) << 21) |
           (t.tm_mday << 16) | (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2);
}

class UnrarListing : public testing::TestWithParam<RarFormat> {};

TEST_P(UnrarListing, GivesEveryHeaderFieldInWindowsForm) {
    std::vector<RarTestEntry> entries(5);
    entries[0].name = "readme.txt";
    entries[0].data = "hello";
    entries[0].attributes = 0x21;
    entries[1].name = "docs";
    entries[1].folder = true;
    entries[2].name = "docs/a b/\xC3\xA9t\xC3\xA9.txt";
    entries[2].data = std::string(1000, 'x');
    entries[2].unixHost = true;
    entries[2].mode = 0444;
    entries[2].mtime = 1600000000;
    entries[3].name = "tools";
    entries[3].folder = true;
    entries[3].unixHost = true;
    entries[4].name = "secret.bin";
    entries[4].data = "abc";
    entries[4].encrypted = true;
    const auto archive = Write("a.rar", MakeRar(entries, {GetParam()}));

    const auto result = RunArchive(archive, {RAR_OM_LIST});
    ASSERT_EQ(result.openResult, 0u);
    EXPECT_EQ(result.endResult, ERAR_END_ARCHIVE);
    ASSERT_EQ(result.entries.size(), 5u);
    struct Expected {
        unsigned flags, attributes, host;
    };
    const Expected expected[] = {{0, 0x21, RAR_HOST_WIN32},
                                 {RHDF_DIRECTORY, 0x10, RAR_HOST_WIN32},
                                 {0, 0x21, RAR_HOST_UNIX},
                                 {RHDF_DIRECTORY, 0x10, RAR_HOST_UNIX},
                                 {RHDF_ENCRYPTED, 0x20, RAR_HOST_WIN32}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].name);
        const auto& got = result.entries[i];
        EXPECT_EQ(got.name, entries[i].name);
        EXPECT_EQ(got.volume, archive.string());
        EXPECT_EQ(got.flags, expected[i].flags);
        EXPECT_EQ(got.attributes, expected[i].attributes);
        EXPECT_EQ(got.hostOs, expected[i].host);
        EXPECT_EQ(got.unpSize, entries[i].data.size());
        EXPECT_EQ(got.packSize, entries[i].data.size());
        EXPECT_EQ(got.crc, tw::test::RarCrc32(entries[i].data));
        EXPECT_EQ(got.fileTime, DosTime(entries[i].mtime));
        EXPECT_EQ(got.processResult, 0);
    }
}

TEST_P(UnrarListing, MarksSolidEntriesFromTheirHeaders) {
    std::vector<RarTestEntry> entries(3);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].name = "f" + std::to_string(i);
        entries[i].data = "data";
    }
    const auto result = RunArchive(Write("s.rar", MakeRar(entries, {GetParam(), true})), {});
    ASSERT_EQ(result.entries.size(), 3u);
    EXPECT_EQ(result.entries[0].flags & RHDF_SOLID, 0u);
    EXPECT_EQ(result.entries[1].flags & RHDF_SOLID, unsigned{RHDF_SOLID});
    EXPECT_EQ(result.entries[2].flags & RHDF_SOLID, unsigned{RHDF_SOLID});
}

TEST_P(UnrarListing, FindsTheArchiveBehindASelfExtractingModule) {
    std::vector<RarTestEntry> entries(1);
    entries[0].name = "inside.txt";
    entries[0].data = "payload";
    for (const std::size_t prefix : {std::size_t{200 * 1024}, std::size_t{(4u << 20) - 100}}) {
        SCOPED_TRACE(prefix);
        // A module that quotes the signature itself must not confuse the search.
        std::string module = "MZ" + std::string(prefix - 2, '\x90');
        module.replace(1000, 7, std::string("Rar!\x1a\x07\x00", 7));
        RarTestOptions options{GetParam()};
        options.sfxPrefix = module;
        const auto result =
            RunArchive(Write("setup.exe", MakeRar(entries, options)), {RAR_OM_EXTRACT, RAR_TEST});
        ASSERT_EQ(result.openResult, 0u);
        ASSERT_EQ(tw::test::Names(result), std::vector<std::string>{"inside.txt"});
        EXPECT_EQ(result.entries[0].processResult, 0);
    }
}

TEST_P(UnrarListing, CopiesAStoredArchiveComment) {
    std::vector<RarTestEntry> entries(1);
    entries[0].name = "a.txt";
    RarTestOptions options{GetParam()};
    options.comment = "Hello, comment";
    const auto archive = Write("c.rar", MakeRar(entries, options));
    struct CommentCase {
        unsigned bufferSize;
        unsigned state;
        unsigned size;
        std::string text;
    };
    for (const auto& c :
         {CommentCase{64, 1, 15, "Hello, comment"}, CommentCase{15, 1, 15, "Hello, comment"},
          CommentCase{6, ERAR_SMALL_BUF, 6, "Hello"}}) {
        SCOPED_TRACE(c.bufferSize);
        std::string name = archive.string();
        std::vector<char> buffer(c.bufferSize, 'x');
        RAROpenArchiveData open{};
        open.ArcName = name.data();
        open.CmtBuf = buffer.data();
        open.CmtBufSize = c.bufferSize;
        void* handle = RAROpenArchive(&open);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(open.CmtState, c.state);
        EXPECT_EQ(open.CmtSize, c.size);
        EXPECT_EQ(std::string(buffer.data()), c.text);
        RARCloseArchive(handle);
    }
    EXPECT_EQ(tw::test::Names(RunArchive(archive)), std::vector<std::string>{"a.txt"});
}

struct DamageCase {
    const char* what;
    RarDamage damage;
    std::size_t prefix;
    unsigned openResult;
    int endResult;
};

std::string
DamageCaseName(const testing::TestParamInfo<std::tuple<RarFormat, DamageCase>>& paramInfo) {
    const RarFormat format = std::get<0>(paramInfo.param);
    return tw::test::RarFormatName({format, 0}) + std::get<1>(paramInfo.param).what;
}

class UnrarDamagedArchive : public testing::TestWithParam<std::tuple<RarFormat, DamageCase>> {};

TEST_P(UnrarDamagedArchive, GivesTheDocumentedCode) {
    const auto& [format, c] = GetParam();
    std::vector<RarTestEntry> entries(2);
    entries[0].name = "one.txt";
    entries[0].data = "first entry";
    entries[1].name = "two.txt";
    entries[1].data = "second entry";
    RarTestOptions options{format};
    options.damage = c.damage;
    options.sfxPrefix = std::string(c.prefix, 'z');
    const auto result = RunArchive(Write("d.rar", MakeRar(entries, options)), {RAR_OM_LIST});
    EXPECT_EQ(result.openResult, c.openResult);
    if (c.openResult == 0) {
        EXPECT_EQ(result.endResult, c.endResult);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnrarDamagedArchive,
    testing::Combine(testing::Values(RarFormat::Rar4, RarFormat::Rar5),
                     testing::Values(DamageCase{"BrokenFileHeader", RarDamage::BrokenFileHeader, 0,
                                                0, ERAR_BAD_DATA},
                                     DamageCase{"TruncatedData", RarDamage::Truncated, 0, 0,
                                                ERAR_BAD_DATA},
                                     DamageCase{"FutureVersion", RarDamage::FutureVersion, 0,
                                                ERAR_UNKNOWN_FORMAT, 0},
                                     DamageCase{"EncryptedHeaders", RarDamage::EncryptedHeaders, 0,
                                                ERAR_MISSING_PASSWORD, 0},
                                     DamageCase{"BeyondTheSearchWindow", RarDamage::None,
                                                (4u << 20) + 1, ERAR_BAD_ARCHIVE, 0})),
    DamageCaseName);

INSTANTIATE_TEST_SUITE_P(Formats, UnrarListing, testing::Values(RarFormat::Rar4, RarFormat::Rar5),
                         tw::test::RarFormatName);

TEST(UnrarOpen, RefusesWhatIsNoArchive) {
    const auto home = tw::test::CurrentHome().work;
    EXPECT_EQ(RunArchive(home / "missing.rar").openResult, unsigned{ERAR_EOPEN});
    EXPECT_EQ(RunArchive(home).openResult, unsigned{ERAR_EOPEN});
    EXPECT_EQ(RunArchive(Write("empty.rar", "")).openResult, unsigned{ERAR_BAD_ARCHIVE});
    EXPECT_EQ(RunArchive(Write("text.rar", "just some text, Rar! not")).openResult,
              unsigned{ERAR_BAD_ARCHIVE});
    EXPECT_EQ(RunArchive(Write("old.rar", "RE~^" + std::string(40, '\0'))).openResult,
              unsigned{ERAR_UNKNOWN_FORMAT});
    EXPECT_EQ(RunArchive(Write("bare.rar", std::string("Rar!\x1a\x07\x00", 7))).openResult,
              unsigned{ERAR_BAD_DATA});
}

} // namespace
