// The C interface on archives of our own writer: extraction, callbacks and their answers,
// volumes, self-extracting prefixes, and damaged or hostile input.
#include "ace_harness.h"
#include "support/ace_writer.h"
#include "support/fixtures.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace tw::test;
using namespace tw::test::ace;

namespace {

fs::path Work() {
    return CurrentHome().work;
}
fs::path Out() {
    fs::create_directories(Work() / "out");
    return Work() / "out";
}

fs::path Save(const std::string& name, const std::string& bytes) {
    WriteFile(Work() / name, bytes);
    return Work() / name;
}

std::vector<Entry> SampleEntries() {
    return {
        {"docs", "", true},
        {"docs\\readme.txt", "read me\n"},
        {"docs\\caf\x82.txt", "accent"}, // CP850 0x82 is é
        {"empty.bin", ""},
        {"top.txt", std::string(5000, 'z')},
    };
}

TEST(AceInterface, ExtractsFilesAndFoldersWithUtf8SlashNames) {
    const auto archive = Save("sample.ace", Write(SampleEntries()));
    Harness h;
    ASSERT_EQ(h.Extract(archive, Out()), ACE_RESULT_OK);
    EXPECT_EQ(ReadFile(Out() / "docs/readme.txt"), "read me\n");
    EXPECT_EQ(ReadFile(Out() / "docs/caf\xC3\xA9.txt"), "accent");
    EXPECT_TRUE(fs::exists(Out() / "empty.bin"));
    EXPECT_EQ(fs::file_size(Out() / "empty.bin"), 0u);
    EXPECT_EQ(ReadFile(Out() / "top.txt"), std::string(5000, 'z'));

    const auto begun = h.Find("state", ACE_STATE_ENTRY_BEGIN);
    ASSERT_EQ(begun.size(), 5u);
    EXPECT_EQ(begun[1].entry, "docs/readme.txt");
    EXPECT_EQ(begun[1].target, Out().string() + "/docs/readme.txt");
    EXPECT_EQ(begun[1].operation, static_cast<std::uint32_t>(ACE_OPERATION_EXTRACT));
    EXPECT_EQ(begun[0].attributes, ACE_ATTRIBUTE_DIRECTORY);
}

TEST(AceInterface, ReadArchiveDataDescribesTheMainHeader) {
    Options options;
    options.solid = true;
    options.volumeData = 100;
    const auto volumes = WriteVolumes(SampleEntries(), options);
    const auto archive = Save("set.ace", volumes[0]);
    AceArchiveInfo info{};
    ASSERT_EQ(ACEReadArchiveData(archive.c_str(), &info), ACE_RESULT_OK);
    EXPECT_EQ(info.volumeNumber, 0u);
    EXPECT_EQ(info.versionToExtract, 20u);
    EXPECT_TRUE(info.flags & ACE_ARCHIVE_SOLID);
    EXPECT_TRUE(info.flags & ACE_ARCHIVE_MULTIVOLUME);
    EXPECT_EQ(ACEReadArchiveData((Work() / "none.ace").c_str(), &info), ACE_RESULT_NOT_FOUND);
}

TEST(AceInterface, FindsTheArchiveBehindASelfExtractingModuleWithinTheWindow) {
    Options near;
    near.sfxPrefix = "MZ" + std::string(70000, '\x90') + "**ACE**"; // a decoy signature too
    Harness h;
    ASSERT_EQ(h.Extract(Save("near.exe", Write(SampleEntries(), near)), Out()), ACE_RESULT_OK);
    EXPECT_EQ(ReadFile(Out() / "docs/readme.txt"), "read me\n");

    Options far;
    far.sfxPrefix = "MZ" + std::string(0x20000, '\x90');
    EXPECT_EQ(h.List(Save("far.exe", Write(SampleEntries(), far))), ACE_RESULT_CANNOT_OPEN);
    EXPECT_FALSE(h.Find("error", ACE_ERROR_NOT_ACE).empty());
}

TEST(AceInterface, VolumeSetsJoinSplitFilesAndCheckTheLastPartsCrc) {
    Options options;
    options.volumeData = 1500;
    std::vector<Entry> entries = SampleEntries();
    entries.push_back({"big.dat", std::string(4000, 'q') + "end"});
    const auto volumes = WriteVolumes(entries, options);
    ASSERT_GE(volumes.size(), 4u);
    // Later volumes in upper case: both spellings are tried.
    Save("set.ace", volumes[0]);
    for (std::size_t i = 1; i < volumes.size(); ++i)
        Save("set.C0" + std::to_string(i - 1), volumes[i]);

    Harness h;
    ASSERT_EQ(h.Extract(Work() / "set.ace", Out()), ACE_RESULT_OK);
    EXPECT_EQ(ReadFile(Out() / "top.txt"), std::string(5000, 'z'));
    EXPECT_EQ(ReadFile(Out() / "big.dat"), std::string(4000, 'q') + "end");
    EXPECT_EQ(h.Find("request", ACE_REQUEST_VOLUME).size(), volumes.size() - 1);

    fs::remove(Work() / ("set.C0" + std::to_string(volumes.size() - 2)));
    Harness missing;
    fs::remove_all(Out());
    EXPECT_EQ(missing.Extract(Work() / "set.ace", Out()), ACE_RESULT_NOT_FOUND);
    EXPECT_EQ(missing.Find("error", ACE_ERROR_ARCHIVE_MISSING).size(), 1u);
    EXPECT_FALSE(fs::exists(Out() / "big.dat"));

    Harness cancel;
    cancel.volumeAnswer = ACE_ANSWER_CANCEL;
    EXPECT_EQ(cancel.List(Work() / "set.ace"), ACE_RESULT_USER_BREAK);
}

TEST(AceInterface, StateAnswersSkipAndCancel) {
    const auto archive = Save("sample.ace", Write(SampleEntries()));
    Harness skip;
    skip.stateAnswer = [](const Call& c) {
        return c.entry == "docs/readme.txt" ? ACE_ANSWER_NO : ACE_ANSWER_OK;
    };
    ASSERT_EQ(skip.Extract(archive, Out()), ACE_RESULT_OK);
    EXPECT_FALSE(fs::exists(Out() / "docs/readme.txt"));
    EXPECT_TRUE(fs::exists(Out() / "top.txt"));

    fs::remove_all(Out());
    Harness cancel;
    cancel.stateAnswer = [](const Call& c) {
        return c.entry == "empty.bin" ? ACE_ANSWER_CANCEL : ACE_ANSWER_OK;
    };
    EXPECT_EQ(cancel.Extract(archive, Out()), ACE_RESULT_USER_BREAK);
    EXPECT_TRUE(fs::exists(Out() / "docs/readme.txt"));
    EXPECT_FALSE(fs::exists(Out() / "top.txt"));
}

TEST(AceInterface, InformationRoutineCanStopInsideALargeFile) {
    const auto archive = Save("large.ace", Write({{"large.bin", std::string(3 << 20, 'L')}}));
    Harness h;
    h.infoAnswer = ACE_ANSWER_CANCEL;
    EXPECT_EQ(h.Extract(archive, Out()), ACE_RESULT_USER_BREAK);
    EXPECT_FALSE(fs::exists(Out() / "large.bin"));
}

TEST(AceInterface, ExistingTargetsFollowTheOverwriteAnswer) {
    const auto archive = Save("sample.ace", Write(SampleEntries()));
    WriteFile(Out() / "top.txt", "old");
    Harness keep;
    keep.overwriteAnswer = ACE_ANSWER_NO;
    ASSERT_EQ(keep.Extract(archive, Out()), ACE_RESULT_OK);
    EXPECT_EQ(ReadFile(Out() / "top.txt"), "old");
    const auto asked = keep.Find("request", ACE_REQUEST_OVERWRITE);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].target, Out().string() + "/top.txt");

    Harness replace;
    replace.overwriteAnswer = ACE_ANSWER_OK;
    ASSERT_EQ(replace.Extract(archive, Out()), ACE_RESULT_OK);
    EXPECT_EQ(ReadFile(Out() / "top.txt"), std::string(5000, 'z'));
}

TEST(AceInterface, ExcludeListAndFileListSelectEntries) {
    const auto archive = Save("sample.ace", Write(SampleEntries()));
    Harness h;
    // Masks are case-insensitive substrings; pieces between '*' count on their own.
    ASSERT_EQ(h.Extract(archive, Out(), "", "README\r*.bin*\r"), ACE_RESULT_OK);
    EXPECT_FALSE(fs::exists(Out() / "docs/readme.txt"));
    EXPECT_FALSE(fs::exists(Out() / "empty.bin"));
    EXPECT_TRUE(fs::exists(Out() / "top.txt"));
    // Excluded entries are still announced, so the caller can report them.
    EXPECT_EQ(h.Find("state", ACE_STATE_ENTRY_BEGIN).size(), 5u);

    fs::remove_all(Out());
    Harness only;
    ASSERT_EQ(only.Extract(archive, Out(), "", "", "*.txt\rempty.bin"), ACE_RESULT_OK);
    EXPECT_EQ(only.Find("state", ACE_STATE_ENTRY_BEGIN).size(), 4u);
    Harness none;
    EXPECT_EQ(none.Extract(archive, Out(), "", "", "nothing.here"), ACE_RESULT_NO_FILES);
}

TEST(AceInterface, RefusesNamesThatLeaveTheDestination) {
    const fs::path dest = Work() / "sandbox" / "a" / "b" / "dest";
    fs::create_directories(dest);
    const std::vector<Entry> hostile = {
        {"..\\..\\escape.txt", "x"}, {"/abs.txt", "x"},    {"C:\\drive.txt", "x"},
        {"ok\\..\\..\\up.txt", "x"}, {"fine.txt", "fine"},
    };
    const auto archive = Save("hostile.ace", Write(hostile));
    Harness h;
    h.overwriteAnswer = ACE_ANSWER_OK;
    EXPECT_EQ(h.Extract(archive, dest), ACE_RESULT_OTHER);
    EXPECT_EQ(h.Find("error", ACE_ERROR_CREATE).size(), 4u);
    const auto all = Md5Tree(Work() / "sandbox");
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all.begin()->first, "a/b/dest/fine.txt");
}

TEST(AceInterface, DoesNotFollowLinksPlantedInTheDestination) {
    const fs::path dest = Out();
    fs::create_directories(Work() / "elsewhere");
    fs::create_directory_symlink(Work() / "elsewhere", dest / "docs");
    Harness h;
    EXPECT_NE(h.Extract(Save("sample.ace", Write(SampleEntries())), dest), ACE_RESULT_OK);
    EXPECT_TRUE(fs::is_empty(Work() / "elsewhere"));
}

TEST(AceInterface, EncryptedEntriesAskForThePasswordOnce) {
    std::vector<Entry> entries = {{"one.txt", "first secret", false, 0x5A2B6000, "s3cr\xC3\xA9t"},
                                  {"two.txt", "second secret", false, 0x5A2B6000, "s3cr\xC3\xA9t"}};
    // The key is made from the password's OEM bytes; é is 0x82 in CP850.
    entries[0].password = entries[1].password = "s3cr\x82t";
    const auto archive = Save("secret.ace", Write(entries));
    Harness h;
    h.passwordToGive = "s3cr\xC3\xA9t";
    ASSERT_EQ(h.Extract(archive, Out()), ACE_RESULT_OK);
    EXPECT_EQ(ReadFile(Out() / "one.txt"), "first secret");
    EXPECT_EQ(ReadFile(Out() / "two.txt"), "second secret");
    EXPECT_EQ(h.Find("request", ACE_REQUEST_PASSWORD).size(), 1u);

    Harness wrong;
    fs::remove_all(Out());
    EXPECT_EQ(wrong.Extract(archive, Out(), "nope"), ACE_RESULT_CRC_ERROR);
    EXPECT_TRUE(Md5Tree(Out()).empty());
}

TEST(AceInterface, DamagedArchivesGiveErrorCodes) {
    const std::string good = Write(SampleEntries());
    const fs::path out = Out();
    struct Case {
        const char* name;
        std::string bytes;
        std::int32_t result;
        std::uint32_t error;
    };
    std::string badHeaderCrc = good;
    badHeaderCrc[good.find("top.txt")] ^= 0x20;
    std::string badDataCrc = good;
    badDataCrc[good.size() - 1] ^= 1;
    std::string noAddSize = good;
    // A file header that says it has no data area: rejected like the traversal samples.
    const std::string header = Block(FileHeaderBody(0, 0, 1, 0, 0x20, 0, "x"));
    const std::string truncated = good.substr(0, good.size() - 100);
    const std::vector<Case> cases = {
        {"header crc", badHeaderCrc, ACE_RESULT_CRC_ERROR, ACE_ERROR_BROKEN},
        {"truncated", truncated, ACE_RESULT_CRC_ERROR, ACE_ERROR_BROKEN},
        {"no add size", Block(MainHeaderBody(0, 0, 20)) + header, ACE_RESULT_CRC_ERROR,
         ACE_ERROR_BROKEN},
        {"not ace", std::string(1000, 'n'), ACE_RESULT_CANNOT_OPEN, ACE_ERROR_NOT_ACE},
        {"later version", Write(SampleEntries(), {false, "", 0, 30}), ACE_RESULT_CANNOT_OPEN,
         ACE_ERROR_VERSION},
    };
    for (const auto& c : cases) {
        Harness h;
        EXPECT_EQ(h.Extract(Save("damaged.ace", c.bytes), out), c.result) << c.name;
        EXPECT_FALSE(h.Find("error", c.error).empty()) << c.name;
    }
    Harness crc;
    EXPECT_EQ(crc.Extract(Save("damaged.ace", badDataCrc), out), ACE_RESULT_CRC_ERROR);
    EXPECT_FALSE(fs::exists(out / "top.txt")); // a damaged file is not left behind
    EXPECT_TRUE(fs::exists(out / "docs/readme.txt"));

    Harness missing;
    EXPECT_EQ(missing.Test(Work() / "absent.ace"), ACE_RESULT_NOT_FOUND);
    EXPECT_EQ(ACEList(nullptr, nullptr), ACE_RESULT_INVALID_CALL);
}

} // namespace
