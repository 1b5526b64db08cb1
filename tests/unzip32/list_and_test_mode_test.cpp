#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"
#include "unzip_call.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;
using tw::test::ReadFile;
using tw::test::UnzipCall;
using tw::test::WriteFile;
using tw::test::ZipEntry;
using Kind = tw::test::ZipEntry::Kind;

namespace {

fs::path Work() {
    return tw::test::CurrentHome().work;
}

// Local time of the fixtures' entries, as the list line shows it.
std::string ListStamp(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%m-%d-%Y %H:%M", &local);
    return text;
}

} // namespace

TEST(UnzipList, PrintsHeadingEntryLinesAndTotalsAndReadsNoData) {
    const fs::path archive = Work() / "a.zip";
    tw::test::WriteZip(archive,
                       {{"docs/", "", Kind::Folder},
                        {"docs/warning.txt", "hello"},
                        {"secret.txt", "hidden", Kind::File}},
                       {});
    tw::test::WriteZip(Work() / "locked.zip", {{"secret.txt", "hidden"}},
                       tw::test::ZipWriteOptions::Encrypted("aes256", "pw"));
    UnzipCall call(archive);
    call.List();
    EXPECT_EQ(call.Run(), UZ_OK);
    const auto& pieces = call.Pieces();
    ASSERT_EQ(pieces.size(), 5u) << call.Output();
    const std::string stamp = ListStamp(1700000000);
    EXPECT_EQ(pieces[1], "          0  " + stamp + "   docs/");
    EXPECT_EQ(pieces[2], "          5  " + stamp + "   docs/warning.txt");
    EXPECT_EQ(pieces[3], "          6  " + stamp + "   secret.txt");
    EXPECT_NE(pieces[4].find("3 files"), std::string::npos);
    for (const char* word : {"warning", "testing", "inflating", "extracting", "creating", "kipping",
                             "End-of-", "is empty", "No errors"})
        for (std::size_t i : {0u, 4u})
            EXPECT_EQ(pieces[i].find(word), std::string::npos) << pieces[i];
    EXPECT_EQ(call.functions.NumMembers, 3u);
    EXPECT_EQ(call.functions.TotalSize, 11u);
    ASSERT_EQ(call.listings.size(), 3u);
    EXPECT_EQ(call.listings[0].flag, 'd');
    EXPECT_EQ(call.listings[1].crc, 0x3610a686u); // CRC-32 of "hello"
    EXPECT_EQ(call.listings[1].method, "Deflate");
    EXPECT_EQ(call.listings[2].name, "secret.txt");

    UnzipCall locked(Work() / "locked.zip");
    locked.List();
    EXPECT_EQ(locked.Run(), UZ_OK);
    EXPECT_TRUE(locked.passwordEntries.empty());
    ASSERT_EQ(locked.listings.size(), 1u);
    EXPECT_EQ(locked.listings[0].encrypted, 1);
}

TEST(UnzipTest, PrintsTestingAndOkPerEntryAndTheSummary) {
    const fs::path archive = Work() / "a.zip";
    tw::test::WriteZip(archive, {{"dir/", "", Kind::Folder},
                                 {"dir/creating.doc", "x"},
                                 {"b.txt", std::string(100000, 'b')}});
    UnzipCall call(archive);
    call.Test();
    EXPECT_EQ(call.Run(), UZ_OK);
    EXPECT_EQ(call.Pieces(),
              (std::vector<std::string>{
                  "    testing: dir/", "   OK", "    testing: dir/creating.doc", "   OK",
                  "    testing: b.txt", "   OK",
                  "No errors detected in compressed data of " + archive.string() + "."}));
    EXPECT_EQ(call.functions.NumMembers, 3u);
    EXPECT_FALSE(fs::exists(Work() / "dir"));
}

TEST(UnzipTest, EmptyArchivesAndOtherFilesAreToldApart) {
    WriteFile(Work() / "empty.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    WriteFile(Work() / "text.zip", std::string(5000, 't'));
    struct Case {
        const char* file;
        std::string piece;
        int result;
    };
    const std::vector<Case> cases = {
        {"empty.zip", "warning [" + (Work() / "empty.zip").string() + "]:  zipfile is empty",
         UZ_OK},
        {"text.zip", "  End-of-central-directory signature not found.", UZ_NOTZIP},
        {"missing.zip", "  cannot find or open " + (Work() / "missing.zip").string() + ".",
         UZ_NOTZIP},
    };
    for (const auto& c : cases) {
        for (int mode = 0; mode < 3; ++mode) {
            SCOPED_TRACE(std::string(c.file) + " mode " + std::to_string(mode));
            UnzipCall call(Work() / c.file);
            if (mode == 0)
                call.List();
            else if (mode == 1)
                call.Test();
            else
                call.Extract(Work());
            call.functions.NumMembers = 77;
            EXPECT_EQ(call.Run(), c.result);
            EXPECT_EQ(call.Pieces(), std::vector<std::string>{c.piece});
            if (c.result == UZ_OK) {
                EXPECT_EQ(call.functions.NumMembers, 0u);
            }
        }
    }
}

TEST(UnzipList, ReportsTheArchiveCommentAndShowsItWhenAsked) {
    tw::test::WriteZip(Work() / "plain.zip", {{"a.txt", "a"}});
    std::string bytes = ReadFile(Work() / "plain.zip");
    const std::string comment = "Made for \x81"
                                "ber tests"; // CP437 u-umlaut
    bytes[bytes.size() - 2] = static_cast<char>(comment.size());
    WriteFile(Work() / "comment.zip", bytes + comment);
    for (const bool show : {false, true}) {
        SCOPED_TRACE(show);
        UnzipCall call(Work() / "comment.zip");
        call.List();
        call.options.showComment = show;
        EXPECT_EQ(call.Run(), UZ_OK);
        EXPECT_EQ(call.functions.CommentLength, comment.size());
        EXPECT_EQ(call.Pieces().front() == "Made for \xc3\xbc"
                                           "ber tests",
                  show)
            << call.Output();
    }
}
