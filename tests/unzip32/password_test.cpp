#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"
#include "unzip_call.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using tw::test::ReadFile;
using tw::test::UnzipCall;
using tw::test::ZipEntry;

namespace {

fs::path Work() {
    return tw::test::CurrentHome().work;
}

const std::vector<ZipEntry> kEntries = {{"a.txt", "first secret"}, {"b.txt", "second secret"}};

} // namespace

TEST(UnzipPassword, TheRightPasswordOpensEveryEncryption) {
    tw::test::WriteFile(Work() / "src/c.txt", "seven-zip secret");
    ASSERT_EQ(std::system(("cd '" + (Work() / "src").string() +
                           "' && 7zz a -tzip -ppw -mem=AES128 ../aes128.zip c.txt >/dev/null")
                              .c_str()),
              0);
    for (const char* encryption : {"traditional", "aes128", "aes256"}) {
        SCOPED_TRACE(encryption);
        const fs::path archive = Work() / (std::string(encryption) + "-lib.zip");
        tw::test::WriteZip(archive, kEntries,
                           tw::test::ZipWriteOptions::Encrypted(encryption, "pw"));
        const fs::path destination = Work() / encryption;
        fs::create_directories(destination);
        UnzipCall call(archive);
        call.Extract(destination);
        call.password = "pw";
        EXPECT_EQ(call.Run(), UZ_OK) << call.Output();
        EXPECT_EQ(call.passwordEntries, (std::vector<std::string>{"a.txt", "b.txt"}));
        EXPECT_EQ(ReadFile(destination / "a.txt"), "first secret");
        EXPECT_EQ(ReadFile(destination / "b.txt"), "second secret");
    }
    // The method of an AES entry hides in its extra field; a stored one still says so.
    auto stored = tw::test::ZipWriteOptions::Encrypted("aes256", "pw");
    stored.compression = "store";
    tw::test::WriteZip(Work() / "aes-stored.zip", kEntries, stored);
    UnzipCall storedCall(Work() / "aes-stored.zip");
    storedCall.Extract(Work() / "aes-stored");
    fs::create_directories(Work() / "aes-stored");
    storedCall.password = "pw";
    EXPECT_EQ(storedCall.Run(), UZ_OK);
    EXPECT_EQ(storedCall.Pieces(),
              (std::vector<std::string>{" extracting: a.txt", " extracting: b.txt"}));

    UnzipCall call(Work() / "aes128.zip");
    call.Extract(Work() / "aes128");
    fs::create_directories(Work() / "aes128");
    call.password = "pw";
    EXPECT_EQ(call.Run(), UZ_OK) << call.Output();
    EXPECT_EQ(ReadFile(Work() / "aes128/c.txt"), "seven-zip secret");
}

// AES keeps a two-byte check value, so a wrong password is recognised as such (not as damage).
TEST(UnzipPassword, WrongEmptyAndRefusedPasswordsSkipEntriesWithoutLooping) {
    const fs::path archive = Work() / "aes.zip";
    tw::test::WriteZip(archive, kEntries, tw::test::ZipWriteOptions::Encrypted("aes256", "pw"));
    struct Case {
        const char* name;
        std::string password;
        int answer;
        bool test;
        std::vector<std::string> asked;
        std::vector<std::string> pieces;
    };
    const std::string summary =
        "No errors detected in compressed data of " + archive.string() + ".";
    const std::vector<Case> cases = {
        {"wrong-extract",
         "nope",
         UZ_PW_ENTERED,
         false,
         {"a.txt", "b.txt"},
         {"   skipping: a.txt incorrect password", "   skipping: b.txt incorrect password"}},
        {"empty-test",
         "",
         UZ_PW_ENTERED,
         true,
         {"a.txt", "b.txt"},
         {"   skipping: a.txt incorrect password", "   skipping: b.txt incorrect password", summary,
          "files skipped because of incorrect password: 2"}},
        {"cancel-all",
         "pw",
         UZ_PW_CANCELALL,
         true,
         {"a.txt"},
         {"   skipping: a.txt unable to get password", "   skipping: b.txt unable to get password",
          summary, "files skipped for want of a password: 2"}},
        {"skip-one",
         "pw",
         UZ_PW_SKIP,
         false,
         {"a.txt", "b.txt"},
         {"   skipping: a.txt unable to get password",
          "   skipping: b.txt unable to get password"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path destination = Work() / c.name;
        fs::create_directories(destination);
        UnzipCall call(archive);
        if (c.test)
            call.Test();
        else
            call.Extract(destination);
        call.password = c.password;
        call.passwordAnswer = c.answer;
        EXPECT_EQ(call.Run(), UZ_PASSWORD);
        EXPECT_EQ(call.passwordEntries, c.asked);
        EXPECT_EQ(call.Pieces(), c.pieces);
        EXPECT_TRUE(fs::is_empty(destination));
    }
}

TEST(UnzipPassword, PlainEntriesBesideEncryptedOnesNeedNoPassword) {
    // The writer encrypts all entries or none; zip's own tool mixes them.
    const fs::path mixed = Work() / "mixed.zip";
    tw::test::WriteFile(Work() / "src/plain.txt", std::string(1000, 'p'));
    tw::test::WriteFile(Work() / "src/locked.txt", "locked");
    ASSERT_EQ(std::system(("cd '" + (Work() / "src").string() +
                           "' && zip -q ../mixed.zip plain.txt && zip -q -P pw ../mixed.zip "
                           "locked.txt")
                              .c_str()),
              0);
    const fs::path destination = Work() / "out";
    fs::create_directories(destination);
    UnzipCall call(mixed);
    call.Extract(destination);
    call.passwordAnswer = UZ_PW_CANCELALL;
    EXPECT_EQ(call.Run(), UZ_PASSWORD);
    EXPECT_EQ(call.Pieces(),
              (std::vector<std::string>{"  inflating: plain.txt",
                                        "   skipping: locked.txt unable to get password"}));
    EXPECT_EQ(ReadFile(destination / "plain.txt"), std::string(1000, 'p'));
    EXPECT_FALSE(fs::exists(destination / "locked.txt"));
}
