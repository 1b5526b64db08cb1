#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"
#include "unzip_call.h"

#include <cstddef>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

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

fs::path MakeDestination() {
    const fs::path destination = Work() / "out";
    fs::create_directories(destination);
    return destination;
}

const std::vector<ZipEntry> kTree = {
    {"docs/", "", Kind::Folder},
    {"docs/a.txt", "alpha\n"},
    {"big.txt", std::string(300000, 'x')},
    {"empty.txt", ""},
};

} // namespace

TEST(UnzipExtract, WritesEveryEntryAndPrintsOnePiecePerEntry) {
    const fs::path archive = Work() / "tree.zip";
    tw::test::WriteZip(archive, kTree, tw::test::ZipWriteOptions::Stored());
    tw::test::WriteZip(Work() / "deflated.zip", kTree);
    for (const auto& [file, verb] :
         {std::pair{"tree.zip", " extracting: "}, std::pair{"deflated.zip", "  inflating: "}}) {
        SCOPED_TRACE(file);
        const fs::path destination = Work() / (std::string(file) + ".out");
        fs::create_directories(destination);
        UnzipCall call(Work() / file);
        call.Extract(destination);
        EXPECT_EQ(call.Run(), UZ_OK);
        const std::vector<std::string> expected = {
            "   creating: docs/", verb + std::string("docs/a.txt"), verb + std::string("big.txt"),
            verb + std::string("empty.txt")};
        EXPECT_EQ(call.Pieces(), expected);
        EXPECT_EQ(call.functions.NumMembers, 4u);
        EXPECT_EQ(call.serviceEntries,
                  (std::vector<std::string>{"docs/", "docs/a.txt", "big.txt", "empty.txt"}));
        EXPECT_EQ(ReadFile(destination / "docs/a.txt"), "alpha\n");
        EXPECT_EQ(ReadFile(destination / "big.txt"), std::string(300000, 'x'));
        EXPECT_TRUE(fs::is_regular_file(destination / "empty.txt"));
        EXPECT_EQ(fs::last_write_time(destination / "docs/a.txt"),
                  fs::file_time_type::clock::from_sys(
                      std::chrono::system_clock::from_time_t(1700000000)));
    }
}

TEST(UnzipExtract, DecodesEveryMethodTheToolsWrite) {
    const std::string text = [] {
        std::string t;
        for (int i = 0; i < 20000; ++i)
            t += "line " + std::to_string(i) + "\n";
        return t;
    }();
    WriteFile(Work() / "src/c.txt", text);
    struct Case {
        const char* name;
        std::string command; // run in src/, writes ../NAME.zip
    };
    const std::vector<Case> cases = {
        {"zip-deflate", "zip -q ../zip-deflate.zip c.txt"},
        {"zip-bzip2", "zip -q -Z bzip2 ../zip-bzip2.zip c.txt"},
        {"7z-lzma", "7zz a -tzip -mm=LZMA ../7z-lzma.zip c.txt"},
        {"7z-xz", "7zz a -tzip -mm=XZ ../7z-xz.zip c.txt"},
        {"7z-ppmd", "7zz a -tzip -mm=PPMd ../7z-ppmd.zip c.txt"},
        {"7z-bzip2", "7zz a -tzip -mm=BZip2 ../7z-bzip2.zip c.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string command =
            "cd '" + (Work() / "src").string() + "' && " + c.command + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const fs::path destination = Work() / c.name;
        fs::create_directories(destination);
        UnzipCall call(Work() / (std::string(c.name) + ".zip"));
        call.Extract(destination);
        EXPECT_EQ(call.Run(), UZ_OK) << call.Output();
        EXPECT_EQ(call.Pieces(), std::vector<std::string>{"  inflating: c.txt"});
        EXPECT_EQ(ReadFile(destination / "c.txt"), text);
    }
}

TEST(UnzipExtract, ReadsSelfExtractingZip64AndCp437Archives) {
    tw::test::WriteZip(Work() / "plain.zip", kTree);
    WriteFile(Work() / "setup.exe",
              "MZ" + std::string(40000, '\x90') + ReadFile(Work() / "plain.zip"));
    tw::test::WriteZip(Work() / "zip64.zip", kTree, tw::test::ZipWriteOptions::Zip64());
    // 0x81 is u-umlaut in CP437; the second name carries the UTF-8 flag.
    WriteFile(Work() / "names.zip",
              tw::test::RawStoredZip({{"gr\x81n.txt", "g"}, {"\xc3\xa9t\xc3\xa9.txt", "e", true}}));
    for (const char* file : {"setup.exe", "zip64.zip"}) {
        SCOPED_TRACE(file);
        const fs::path destination = Work() / (std::string(file) + ".out");
        fs::create_directories(destination);
        UnzipCall call(Work() / file);
        call.Extract(destination);
        EXPECT_EQ(call.Run(), UZ_OK) << call.Output();
        EXPECT_EQ(call.functions.NumMembers, 4u);
        EXPECT_EQ(ReadFile(destination / "docs/a.txt"), "alpha\n");
    }
    const fs::path destination = MakeDestination();
    UnzipCall call(Work() / "names.zip");
    call.Extract(destination);
    EXPECT_EQ(call.Run(), UZ_OK);
    EXPECT_EQ(call.Pieces(), (std::vector<std::string>{" extracting: gr\xc3\xbcn.txt",
                                                       " extracting: \xc3\xa9t\xc3\xa9.txt"}));
    EXPECT_EQ(ReadFile(destination / "gr\xc3\xbcn.txt"), "g");
    EXPECT_EQ(ReadFile(destination / "\xc3\xa9t\xc3\xa9.txt"), "e");
}

TEST(UnzipExtract, ExistingTargetsFollowTheOverwriteOptions) {
    const fs::path archive = Work() / "a.zip";
    tw::test::WriteZip(archive, {{"a.txt", "new"}, {"b.txt", "created"}});
    struct Case {
        const char* name;
        void (*set)(UZOPTIONS&);
        std::time_t existingTime;
        std::vector<std::string> pieces;
        int result;
        std::string content; // of a.txt afterwards
        bool bCreated;
    };
    const std::time_t older = 1600000000;
    const std::time_t newer = 1800000000;
    const std::vector<Case> cases = {
        {"keep",
         [](UZOPTIONS&) {},
         older,
         {"  skipping: Target file exists\\a.txt", "  inflating: b.txt"},
         UZ_SKIPPED,
         "old",
         true},
        {"overwrite",
         [](UZOPTIONS& o) { o.alwaysOverwrite = 1; },
         newer,
         {"  inflating: a.txt", "  inflating: b.txt"},
         UZ_OK,
         "new",
         true},
        {"newer-keeps",
         [](UZOPTIONS& o) { o.extractOnlyNewer = 1; },
         newer,
         {"  skipping: Target file newer\\a.txt", "  inflating: b.txt"},
         UZ_SKIPPED,
         "old",
         true},
        {"newer-replaces",
         [](UZOPTIONS& o) { o.extractOnlyNewer = 1; },
         older,
         {"  inflating: a.txt", "  inflating: b.txt"},
         UZ_OK,
         "new",
         true},
        {"freshen",
         [](UZOPTIONS& o) { o.freshen = 1; },
         older,
         {"  inflating: a.txt"},
         UZ_OK,
         "new",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path destination = Work() / c.name;
        WriteFile(destination / "a.txt", "old");
        fs::last_write_time(destination / "a.txt",
                            fs::file_time_type::clock::from_sys(
                                std::chrono::system_clock::from_time_t(c.existingTime)));
        UnzipCall call(archive);
        call.Extract(destination);
        c.set(call.options);
        EXPECT_EQ(call.Run(), c.result);
        EXPECT_EQ(call.Pieces(), c.pieces);
        EXPECT_EQ(ReadFile(destination / "a.txt"), c.content);
        EXPECT_EQ(fs::exists(destination / "b.txt"), c.bCreated);
    }
}

TEST(UnzipExtract, SelectsByIncludeNamesAndDropsByExcludeMasks) {
    const fs::path archive = Work() / "a.zip";
    tw::test::WriteZip(archive, {{"Temp/", "", Kind::Folder},
                                 {"Temp/a.doc", "1"},
                                 {"notes.txt.bak", "2"},
                                 {"mytemplate.dot", "3"},
                                 {"keep/b.c", "4"},
                                 {"keep/c.h", "5"}});
    struct Case {
        const char* name;
        std::vector<std::string> include, exclude;
        std::vector<std::string> written;
        int result;
    };
    const std::vector<Case> cases = {
        {"masks", {}, {"*.txt", "temp"}, {"keep/b.c", "keep/c.h"}, UZ_OK},
        {"star-only",
         {},
         {"**"},
         {"Temp/a.doc", "notes.txt.bak", "mytemplate.dot", "keep/b.c", "keep/c.h"},
         UZ_OK},
        {"include", {"keep/*.?", "*.dot"}, {}, {"mytemplate.dot", "keep/b.c", "keep/c.h"}, UZ_OK},
        {"include-and-mask", {"keep/*"}, {"B.C"}, {"keep/c.h"}, UZ_OK},
        {"unmatched", {"nothing*", "keep/b.c"}, {}, {"keep/b.c"}, UZ_NOMATCH},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path destination = Work() / c.name;
        fs::create_directories(destination);
        UnzipCall call(archive);
        call.Extract(destination);
        call.include = c.include;
        call.exclude = c.exclude;
        EXPECT_EQ(call.Run(), c.result) << call.Output();
        std::vector<std::string> written;
        for (const auto& item : fs::recursive_directory_iterator(destination))
            if (item.is_regular_file())
                written.push_back(item.path().lexically_relative(destination).string());
        std::sort(written.begin(), written.end());
        auto expected = c.written;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(written, expected);
        EXPECT_EQ(call.functions.NumMembers, 6u);
    }
}

TEST(UnzipExtract, WithoutFoldersWritesFlatAndBlanksCanBecomeUnderscores) {
    const fs::path archive = Work() / "a.zip";
    tw::test::WriteZip(archive, {{"sub dir/", "", Kind::Folder}, {"sub dir/my file.txt", "x"}});
    const fs::path destination = MakeDestination();
    UnzipCall call(archive);
    call.Extract(destination);
    call.options.recreateFolders = 0;
    call.options.spaceToUnderscore = 1;
    EXPECT_EQ(call.Run(), UZ_OK);
    EXPECT_EQ(call.Pieces(), std::vector<std::string>{"  inflating: sub dir/my file.txt"});
    EXPECT_EQ(ReadFile(destination / "my_file.txt"), "x");
    EXPECT_FALSE(fs::exists(destination / "sub dir"));
}

TEST(UnzipExtract, ServiceCallbackStopsTheCallAtOnce) {
    const fs::path archive = Work() / "a.zip";
    tw::test::WriteZip(archive, {{"1.txt", "1"}, {"2.txt", "2"}, {"3.txt", "3"}});
    const fs::path destination = MakeDestination();
    UnzipCall call(archive);
    call.Extract(destination);
    call.stopAtCall = 1;
    EXPECT_EQ(call.Run(), UZ_STOPPED);
    EXPECT_EQ(call.Pieces(), std::vector<std::string>{"  inflating: 1.txt"});
    EXPECT_EQ(call.serviceEntries, (std::vector<std::string>{"1.txt", "2.txt"}));
    EXPECT_FALSE(fs::exists(destination / "2.txt"));
}

TEST(UnzipExtract, UnwritableEntriesAreReportedAndTheRestGoesOn) {
    const fs::path archive = Work() / "a.zip";
    tw::test::WriteZip(archive, {{"blocker/a.txt", "1"}, {"b.txt", "2"}});
    const fs::path destination = MakeDestination();
    // A file where a folder must go fails for every user, root included.
    WriteFile(destination / "blocker", "in the way");
    UnzipCall call(archive);
    call.Extract(destination);
    EXPECT_EQ(call.Run(), UZ_WRITEFAILED);
    EXPECT_EQ(call.Pieces(),
              (std::vector<std::string>{"  warning: cannot create blocker/a.txt: Not a directory.",
                                        "  inflating: b.txt"}));
    EXPECT_EQ(ReadFile(destination / "blocker"), "in the way");
    EXPECT_EQ(ReadFile(destination / "b.txt"), "2");
}

TEST(UnzipInterface, RecordsKeepTheirFieldOrderAndBadRecordsAreRefused) {
    EXPECT_EQ(offsetof(UZOPTIONS, extractOnlyNewer), 0u);
    EXPECT_EQ(offsetof(UZOPTIONS, test), 20u);
    EXPECT_EQ(offsetof(UZOPTIONS, list), 24u);
    EXPECT_EQ(offsetof(UZOPTIONS, recreateFolders), 36u);
    EXPECT_EQ(offsetof(UZOPTIONS, alwaysOverwrite), 40u);
    EXPECT_EQ(offsetof(UZOPTIONS, privileges), 56u);
    EXPECT_EQ(offsetof(UZOPTIONS, archivePath), sizeof(void*) == 4 ? 60u : 64u);
    EXPECT_EQ(offsetof(USERFUNCTIONS, TotalCompressedSize), 6 * sizeof(void*));
    EXPECT_EQ(offsetof(USERFUNCTIONS, NumMembers) - offsetof(USERFUNCTIONS, TotalCompressedSize),
              12u);

    UZOPTIONS options{};
    USERFUNCTIONS functions{};
    EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions), UZ_BADPARAM);
    EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, nullptr, &functions), UZ_BADPARAM);
    std::string path = (Work() / "a.zip").string();
    options.archivePath = path.data();
    EXPECT_EQ(Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, nullptr), UZ_BADPARAM);
    EXPECT_EQ(Wiz_SingleEntryUnzip(2, nullptr, 0, nullptr, &options, &functions), UZ_BADPARAM);
}

TEST(UnzipInterface, LoadsByFileNameWithOnlyTheEntryPointVisible) {
    void* library = dlopen((tw::test::BinDir() / "libunzip32.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_NE(dlsym(library, "Wiz_SingleEntryUnzip"), nullptr);
    EXPECT_EQ(dlsym(library, "_ZN7unzip3210RunArchiveERKNS_10RunOptionsEP13USERFUNCTIONS"),
              nullptr);
    dlclose(library);
}
