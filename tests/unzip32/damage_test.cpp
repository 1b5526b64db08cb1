#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"
#include "unzip_call.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;
using tw::test::ReadFile;
using tw::test::UnzipCall;
using tw::test::WriteFile;
using tw::test::ZipEntry;

namespace {

fs::path Work() {
    return tw::test::CurrentHome().work;
}

std::string Text(std::size_t lines) {
    std::string t;
    for (std::size_t i = 0; i < lines; ++i)
        t += "row " + std::to_string(i * 7919 % 1000) + "\n";
    return t;
}

// Where the data of the first entry starts, read from its local header.
std::size_t FirstDataOffset(const std::string& zip) {
    const auto le16 = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(zip[at]) |
                                        static_cast<unsigned char>(zip[at + 1]) << 8);
    };
    return 30 + le16(26) + le16(28);
}

bool IsDataError(const std::string& piece) {
    return piece.rfind("   bad CRC ", 0) == 0 || piece.rfind("   error: ", 0) == 0;
}

} // namespace

TEST(UnzipDamage, BadCrcIsReportedAndTheDamagedFileIsNotKept) {
    tw::test::WriteZip(Work() / "good.zip", {{"a.txt", "alpha"}, {"b.txt", "beta"}},
                       tw::test::ZipWriteOptions::Stored());
    std::string bytes = ReadFile(Work() / "good.zip");
    bytes[bytes.find("alpha")] = 'A';
    WriteFile(Work() / "crc.zip", bytes);

    UnzipCall test(Work() / "crc.zip");
    test.Test();
    EXPECT_EQ(test.Run(), UZ_BADDATA);
    // CRC-32 of "Alpha" and of "alpha".
    EXPECT_EQ(
        test.Pieces(),
        (std::vector<std::string>{
            "    testing: a.txt", "   bad CRC 1121166e (should be d0e0396a)", "    testing: b.txt",
            "   OK", "At least one error was detected in " + (Work() / "crc.zip").string() + "."}));

    const fs::path destination = Work() / "out";
    WriteFile(destination / "a.txt", "precious");
    UnzipCall extract(Work() / "crc.zip");
    extract.Extract(destination);
    extract.options.alwaysOverwrite = 1;
    EXPECT_EQ(extract.Run(), UZ_BADDATA);
    EXPECT_EQ(ReadFile(destination / "a.txt"), "precious");
    EXPECT_EQ(ReadFile(destination / "b.txt"), "beta");
}

TEST(UnzipDamage, ABrokenStreamSpoilsOnlyItsOwnEntry) {
    tw::test::WriteZip(Work() / "good.zip", {{"a.txt", Text(20000)}, {"b.txt", Text(3000)}});
    std::string bytes = ReadFile(Work() / "good.zip");
    const std::size_t data = FirstDataOffset(bytes);
    for (std::size_t i = 0; i < 64; ++i)
        bytes[data + 100 + i] = static_cast<char>(0xFF);
    WriteFile(Work() / "broken.zip", bytes);

    const fs::path destination = Work() / "out";
    fs::create_directories(destination);
    UnzipCall call(Work() / "broken.zip");
    call.Extract(destination);
    EXPECT_EQ(call.Run(), UZ_BADDATA);
    ASSERT_EQ(call.Pieces().size(), 3u) << call.Output();
    EXPECT_EQ(call.Pieces()[0], "  inflating: a.txt");
    EXPECT_TRUE(IsDataError(call.Pieces()[1])) << call.Pieces()[1];
    EXPECT_EQ(call.Pieces()[2], "  inflating: b.txt");
    EXPECT_FALSE(fs::exists(destination / "a.txt"));
    EXPECT_EQ(ReadFile(destination / "b.txt"), Text(3000));
}

// Every cut and every flipped byte of a small archive gives a known result, and nothing is
// ever written outside the destination.
TEST(UnzipDamage, TruncatedAndBitFlippedArchivesGiveResultCodes) {
    tw::test::WriteZip(
        Work() / "good.zip",
        {{"d/", "", ZipEntry::Kind::Folder}, {"d/a.txt", Text(300)}, {"b.txt", "b"}});
    const std::string good = ReadFile(Work() / "good.zip");
    const std::set<int> known = {UZ_OK,       UZ_SKIPPED, UZ_BADDATA,     UZ_BADSTRUCTURE,
                                 UZ_PASSWORD, UZ_NOTZIP,  UZ_WRITEFAILED, UZ_MEMORY};
    const fs::path box = Work() / "box";
    std::vector<std::string> variants;
    for (std::size_t cut = 0; cut < good.size(); cut += 7)
        variants.push_back(good.substr(0, cut));
    for (std::size_t at = 0; at < good.size(); at += 3) {
        std::string flipped = good;
        flipped[at] = static_cast<char>(flipped[at] ^ (1 << (at % 8)));
        variants.push_back(flipped);
    }
    for (std::size_t i = 0; i < variants.size(); ++i) {
        SCOPED_TRACE(i);
        WriteFile(Work() / "damaged.zip", variants[i]);
        fs::remove_all(box);
        fs::create_directories(box / "out");
        for (int mode = 0; mode < 3; ++mode) {
            UnzipCall call(Work() / "damaged.zip");
            if (mode == 0)
                call.List();
            else if (mode == 1)
                call.Test();
            else
                call.Extract(box / "out");
            call.options.alwaysOverwrite = 1;
            EXPECT_TRUE(known.count(call.Run())) << call.Output();
        }
        for (const auto& item : fs::directory_iterator(box))
            EXPECT_EQ(item.path().filename(), "out");
    }
    const auto truncated = good.substr(0, good.size() / 2);
    WriteFile(Work() / "half.zip", truncated);
    UnzipCall call(Work() / "half.zip");
    call.Test();
    EXPECT_EQ(call.Run(), UZ_NOTZIP);
    EXPECT_EQ(call.Pieces(),
              std::vector<std::string>{"  End-of-central-directory signature not found."});
}

TEST(UnzipDamage, AnEntryDeclaringAHugeDictionaryIsRefusedBeforeDecoding) {
    WriteFile(Work() / "src/c.txt", Text(2000));
    ASSERT_EQ(std::system(("cd '" + (Work() / "src").string() +
                           "' && 7zz a -tzip -mm=LZMA ../lzma.zip c.txt >/dev/null")
                              .c_str()),
              0);
    std::string bytes = ReadFile(Work() / "lzma.zip");
    const std::size_t properties = FirstDataOffset(bytes) + 4;
    bytes.replace(properties + 1, 4, "\xff\xff\xff\xff");
    WriteFile(Work() / "huge.zip", bytes);
    UnzipCall call(Work() / "huge.zip");
    call.Test();
    EXPECT_EQ(call.Run(), UZ_MEMORY);
    EXPECT_EQ(call.Pieces().front(), "   skipping: c.txt needs more memory than allowed");
}
