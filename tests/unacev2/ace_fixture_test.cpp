// Archives made by the real archivers, extracted through the C interface and compared with the
// reference lists beside them.
#include "ace_harness.h"
#include "support/fixtures.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;
using namespace tw::test;
using namespace tw::test::ace;

namespace {

std::map<std::string, std::string> ReadMd5List(const fs::path& path) {
    std::map<std::string, std::string> out;
    std::istringstream in(ReadFile(path));
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > 34)
            out[line.substr(34)] = line.substr(0, 32);
    }
    return out;
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> out;
    std::istringstream in(ReadFile(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty())
            out.push_back(line);
    }
    return out;
}

fs::path Out() {
    return CurrentHome().work / "out";
}

class AceFixture : public testing::TestWithParam<const char*> {};

TEST_P(AceFixture, ExtractsExactlyTheReferenceFiles) {
    TW_REQUIRE_SHARED_FIXTURES(dir, "ace");
    const fs::path archive = dir / GetParam();
    fs::create_directories(Out());
    Harness h;
    h.passwordToGive = "1234";
    EXPECT_EQ(h.Test(archive), ACE_RESULT_OK);
    ASSERT_EQ(h.Extract(archive, Out()), ACE_RESULT_OK);
    EXPECT_EQ(Md5Tree(Out()), ReadMd5List(dir / (std::string(GetParam()) + ".md5")));
    const fs::path dirs = dir / (std::string(GetParam()) + ".dirs");
    if (fs::exists(dirs)) {
        for (const auto& folder : ReadLines(dirs))
            EXPECT_TRUE(fs::is_directory(Out() / folder)) << folder;
    }
    EXPECT_TRUE(h.Find("error", ACE_ERROR_BROKEN).empty());
}

INSTANTIATE_TEST_SUITE_P(AceFixtures, AceFixture,
                         testing::Values("onefile.ace", "zdir.ace", "multivolume.ace", "ALCHT.ACE",
                                         "dir2.ace", "passwd2.ace"),
                         [](const auto& param) {
                             std::string n = param.param;
                             for (char& c : n)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return n;
                         });

TEST(AceFixtureList, ReportsEveryEntryWithItsPathAndOperation) {
    TW_REQUIRE_SHARED_FIXTURES(dir, "ace");
    Harness h;
    ASSERT_EQ(h.List(dir / "zdir.ace"), ACE_RESULT_OK);
    const auto begun = h.Find("state", ACE_STATE_ENTRY_BEGIN);
    std::size_t files = 0;
    for (const auto& c : begun) {
        EXPECT_EQ(c.operation, static_cast<std::uint32_t>(ACE_OPERATION_LIST));
        EXPECT_EQ(c.entry.find('\\'), std::string::npos) << c.entry;
        if ((c.attributes & ~ACE_ATTRIBUTE_DIRECTORY) != 0)
            ++files;
    }
    EXPECT_EQ(files, ReadMd5List(dir / "zdir.ace.md5").size());
}

TEST(AceFixturePassword, WrongPasswordIsACrcErrorAndWritesNothing) {
    TW_REQUIRE_SHARED_FIXTURES(dir, "ace");
    fs::create_directories(Out());
    Harness h;
    EXPECT_EQ(h.Extract(dir / "passwd2.ace", Out(), "wrong"), ACE_RESULT_CRC_ERROR);
    EXPECT_TRUE(Md5Tree(Out()).empty());
    EXPECT_EQ(h.Test(dir / "passwd2.ace", "4321"), ACE_RESULT_CRC_ERROR);
}

TEST(AceFixturePassword, AsksOnceWhenNoPasswordIsGiven) {
    TW_REQUIRE_SHARED_FIXTURES(dir, "ace");
    fs::create_directories(Out());
    Harness h;
    h.passwordToGive = "1234";
    ASSERT_EQ(h.Extract(dir / "passwd2.ace", Out()), ACE_RESULT_OK);
    const auto asked = h.Find("request", ACE_REQUEST_PASSWORD);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].entry, "passwd2.m4");
    EXPECT_EQ(Md5Tree(Out()).at("passwd2.m4"), "c057b8fdf53946180c3cc54b7fc43253");
}

TEST(AceFixtureVolumes, AnnouncesEachVolumeItEnters) {
    TW_REQUIRE_SHARED_FIXTURES(dir, "ace");
    Harness h;
    ASSERT_EQ(h.List(dir / "multivolume.ace"), ACE_RESULT_OK);
    const auto volumes = h.Find("request", ACE_REQUEST_VOLUME);
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(fs::path(volumes[0].archive).filename(), "multivolume.c00");
    EXPECT_EQ(fs::path(volumes[1].archive).filename(), "multivolume.c01");
}

TEST(AceFixtureVolumes, MissingLastVolumeKeepsTheWholeFilesAndNamesTheVolume) {
    TW_REQUIRE_SHARED_FIXTURES(dir, "ace");
    const fs::path set = CurrentHome().work / "set";
    fs::create_directories(set);
    fs::copy_file(dir / "multivolume.ace", set / "multivolume.ace");
    fs::copy_file(dir / "multivolume.c00", set / "multivolume.c00");
    fs::create_directories(Out());
    Harness h;
    EXPECT_EQ(h.Extract(set / "multivolume.ace", Out()), ACE_RESULT_NOT_FOUND);
    const auto missing = h.Find("error", ACE_ERROR_ARCHIVE_MISSING);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(fs::path(missing[0].archive).filename(), "multivolume.c01");

    const auto reference = ReadMd5List(dir / "multivolume.ace.md5");
    const auto got = Md5Tree(Out());
    EXPECT_GT(got.size(), 10u);
    EXPECT_LT(got.size(), reference.size());
    for (const auto& [name, md5] : got)
        EXPECT_EQ(md5, reference.at(name)) << name;
}

TEST(AceFixtureHostile, WriteNothingOutsideTheDestination) {
    TW_REQUIRE_SHARED_FIXTURES(dir, "ace");
    const fs::path sandbox = CurrentHome().work / "sandbox";
    const fs::path dest = sandbox / "a" / "b" / "c" / "d" / "e" / "f" / "g" / "h";
    fs::create_directories(dest);
    for (const char* name : {"dirtraversal1.ace", "out_of_bounds.ace"}) {
        Harness h;
        EXPECT_NE(h.List(dir / name), ACE_RESULT_OK) << name;
        EXPECT_NE(h.Test(dir / name), ACE_RESULT_OK) << name;
        EXPECT_NE(h.Extract(dir / name, dest), ACE_RESULT_OK) << name;
        EXPECT_TRUE(Md5Tree(sandbox).empty()) << name;
        EXPECT_FALSE(h.Find("error", ACE_ERROR_BROKEN).empty()) << name;
    }
}

} // namespace
