#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"
#include "unzip_call.h"

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

// Everything below `root`, links not followed.
std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& item : fs::recursive_directory_iterator(root))
        names.push_back(item.path().lexically_relative(root).string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(UnzipSafety, HostileNamesAreSkippedAndNothingLandsOutside) {
    const fs::path box = Work() / "box";
    const fs::path destination = box / "out";
    fs::create_directories(destination);
    WriteFile(Work() / "names.zip", tw::test::RawStoredZip({{"../evil.txt", "1"},
                                                            {"/abs.txt", "2"},
                                                            {"C:\\drive.txt", "3"},
                                                            {"a/../../up.txt", "4"},
                                                            {"ok/fine.txt", "5"}}));
    UnzipCall call(Work() / "names.zip");
    call.Extract(destination);
    EXPECT_EQ(call.Run(), UZ_SKIPPED);
    EXPECT_EQ(call.Pieces(),
              (std::vector<std::string>{"  warning: Unsafe path not extracted: ../evil.txt.",
                                        "  warning: Unsafe path not extracted: /abs.txt.",
                                        "  warning: Unsafe path not extracted: C:/drive.txt.",
                                        "  warning: Unsafe path not extracted: a/../../up.txt.",
                                        " extracting: ok/fine.txt"}));
    EXPECT_EQ(Tree(box), (std::vector<std::string>{"out", "out/ok", "out/ok/fine.txt"}));
    EXPECT_FALSE(fs::exists("/abs.txt"));
}

TEST(UnzipSafety, LinksStayInsideAndAreNeverWrittenThrough) {
    const fs::path box = Work() / "box";
    const fs::path destination = box / "out";
    fs::create_directories(destination);
    tw::test::WriteZip(Work() / "links.zip", {{"sub/", "", Kind::Folder},
                                              {"sub/real.txt", "real"},
                                              {"inside", "sub/real.txt", Kind::Link},
                                              {"up", "../..", Kind::Link},
                                              {"abs", "/etc", Kind::Link},
                                              {"door", "sub", Kind::Link},
                                              {"door/planted.txt", "planted"}});
    UnzipCall call(Work() / "links.zip");
    call.Extract(destination);
    const int result = call.Run();
    EXPECT_TRUE(result == UZ_WRITEFAILED || result == UZ_SKIPPED) << result;
    const auto& pieces = call.Pieces();
    ASSERT_EQ(pieces.size(), 7u) << call.Output();
    EXPECT_EQ(pieces[3], "  warning: Unsafe path not extracted: up.");
    EXPECT_EQ(pieces[4], "  warning: Unsafe path not extracted: abs.");
    EXPECT_EQ(pieces[6].rfind("  warning: cannot create door/planted.txt: ", 0), 0u) << pieces[6];
    EXPECT_EQ(fs::read_symlink(destination / "inside"), "sub/real.txt");
    EXPECT_EQ(ReadFile(destination / "inside"), "real");
    EXPECT_EQ(Tree(box), (std::vector<std::string>{"out", "out/door", "out/inside", "out/sub",
                                                   "out/sub/real.txt"}));
}
