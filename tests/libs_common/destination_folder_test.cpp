#include "support/fixtures.h"
#include "support/temp_home.h"
#include "twlib/destination_folder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class LibsCommonDestination : public testing::Test {
protected:
    fs::path dest = tw::test::CurrentHome().work / "dest";
    fs::path outside = tw::test::CurrentHome().work / "outside";
    void SetUp() override {
        fs::create_directories(dest);
        fs::create_directories(outside);
    }
    int Write(twlib::DestinationFolder& folder, const std::string& rel, const std::string& data,
              bool overwrite) {
        twlib::OutputFile out;
        if (const int error = folder.BeginFile(rel, overwrite, out))
            return error;
        out.Write(data.data(), data.size());
        return out.Commit(1000000000);
    }
};

TEST_F(LibsCommonDestination, WritesFilesAndFoldersWithTheirTime) {
    twlib::DestinationFolder folder(dest.string());
    ASSERT_EQ(folder.OpenError(), 0);
    EXPECT_EQ(folder.MakeFolders("empty/deeper"), 0);
    EXPECT_EQ(Write(folder, "a/b/c.txt", "hello", false), 0);
    EXPECT_EQ(tw::test::ReadFile(dest / "a/b/c.txt"), "hello");
    EXPECT_EQ(folder.ModificationTime("a/b/c.txt"), 1000000000);
    EXPECT_TRUE(fs::is_directory(dest / "empty/deeper"));
    EXPECT_EQ(fs::directory_iterator(dest / "a/b")->path().filename(), "c.txt")
        << "no temporary file is left behind";
}

TEST_F(LibsCommonDestination, ExistingFilesAreKeptOrReplacedAsAsked) {
    twlib::DestinationFolder folder(dest.string());
    ASSERT_EQ(Write(folder, "f.txt", "old", false), 0);
    EXPECT_EQ(Write(folder, "f.txt", "new", false), EEXIST);
    EXPECT_EQ(tw::test::ReadFile(dest / "f.txt"), "old");
    EXPECT_EQ(Write(folder, "f.txt", "new", true), 0);
    EXPECT_EQ(tw::test::ReadFile(dest / "f.txt"), "new");

    twlib::OutputFile abandoned;
    ASSERT_EQ(folder.BeginFile("f.txt", true, abandoned), 0);
    abandoned.Write("partial", 7);
    abandoned.Discard();
    EXPECT_EQ(tw::test::ReadFile(dest / "f.txt"), "new");
    EXPECT_EQ(folder.MakeFolders("f.txt"), ENOTDIR);
    ASSERT_EQ(folder.MakeFolders("d"), 0);
    EXPECT_EQ(Write(folder, "d", "x", true), EISDIR);
}

TEST_F(LibsCommonDestination, NothingIsEverWrittenThroughALink) {
    fs::create_directory_symlink(outside, dest / "escape");
    fs::create_symlink(outside / "victim.txt", dest / "file-link");
    tw::test::WriteFile(outside / "victim.txt", "untouched");
    twlib::DestinationFolder folder(dest.string());

    EXPECT_NE(Write(folder, "escape/new.txt", "x", true), 0);
    EXPECT_NE(folder.MakeFolders("escape/sub"), 0);
    EXPECT_EQ(Write(folder, "file-link", "x", false), EEXIST);
    EXPECT_EQ(Write(folder, "file-link", "replaced", true), 0);
    EXPECT_EQ(tw::test::ReadFile(outside / "victim.txt"), "untouched");
    EXPECT_FALSE(fs::is_symlink(dest / "file-link"));
    EXPECT_TRUE(fs::is_empty(outside / ".." / "outside") || !fs::exists(outside / "new.txt"));
}

TEST_F(LibsCommonDestination, LinksThatCouldLeadOutAreRefused) {
    twlib::DestinationFolder folder(dest.string());
    ASSERT_EQ(folder.MakeFolders("deep/real"), 0);
    EXPECT_EQ(folder.CreateSymlink("deep/up", "..", false), 0);
    EXPECT_EQ(folder.CreateSymlink("deep/ok", "real/../real", false), 0);
    // "up" points at the destination itself; stepping back over it would leave it.
    EXPECT_EQ(folder.CreateSymlink("deep/out", "up/..", false), EPERM);
    // Over a part that does not exist yet, a later link could make ".." leave.
    EXPECT_EQ(folder.CreateSymlink("deep/later", "missing/../..", false), EPERM);
    EXPECT_EQ(folder.CreateSymlink("abs", "/etc", false), EPERM);
    EXPECT_EQ(folder.CreateSymlink("top", "../outside", false), EPERM);
    EXPECT_EQ(fs::read_symlink(dest / "deep/up"), "..");
    EXPECT_FALSE(fs::exists(dest / "abs"));
}

} // namespace
