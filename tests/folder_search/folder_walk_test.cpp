#include "archives/folder_walk.h"
#include "support/fixtures.h"
#include "support/temp_home.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

struct Recorded {
    QStringList entered;
    QStringList found;
};

Recorded Walk(const QString& folder, std::atomic<bool>& stop,
              const std::function<void(const QString&)>& onFound = {}) {
    Recorded recorded;
    const FolderWalkHooks hooks{[&](const QString& shown) { recorded.entered << shown; },
                                [&](const QString& path) {
                                    recorded.found << path;
                                    if (onFound)
                                        onFound(path);
                                }};
    WalkFolderForArchives(folder, hooks, stop);
    return recorded;
}

Recorded Walk(const QString& folder) {
    std::atomic<bool> stop{false};
    return Walk(folder, stop);
}

// The order the file system itself gives, read independently of the walk.
QStringList ArchivesInDirectoryOrder(const fs::path& folder) {
    QStringList found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const QString name = QString::fromStdString(entry.path().filename().string());
        if (entry.is_directory())
            found << ArchivesInDirectoryOrder(entry.path());
        else if (QStringList({".zip", ".rar", ".ace", ".jar", ".r00"})
                     .contains(QFileInfo(name).suffix().prepend(u'.').toLower()))
            found << QString::fromStdString(entry.path().string());
    }
    return found;
}

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

class FolderWalk : public testing::Test {
protected:
    fs::path root = tw::test::CurrentHome().work / "tree";
    void Put(const std::string& relative) { tw::test::WriteFile(root / relative, "x"); }
};

TEST_F(FolderWalk, ReportsKnownArchivesDepthFirstInFileSystemOrder) {
    for (const char* file : {"a.zip", "b.rar", "setup.exe", "disk.001", "notes.txt", "movie.r05",
                             "Part.R00", ".hidden.zip", "sub/c.ace", "sub/Deep Er/d.JAR",
                             "sub/e.zip", "trail /f.zip", "folder.zip/g.rar"})
        Put(file);
    fs::create_directory(root / "empty");

    const Recorded walk = Walk(Q(root));

    QStringList expected;
    for (const char* file : {"a.zip", "b.rar", "Part.R00", ".hidden.zip", "sub/c.ace",
                             "sub/Deep Er/d.JAR", "sub/e.zip", "trail /f.zip", "folder.zip/g.rar"})
        expected << Q(root / file);
    QStringList sorted = walk.found;
    sorted.sort();
    expected.sort();
    EXPECT_EQ(sorted, expected) << "only known archives, folders never";
    EXPECT_EQ(walk.found, ArchivesInDirectoryOrder(root));
    for (const QString& path : walk.found)
        EXPECT_TRUE(QFileInfo(path).isFile())
            << "a reported path names the file: " << path.toStdString();

    const QString shownRoot = Q(root).toUpper() + u'/';
    ASSERT_FALSE(walk.entered.isEmpty());
    EXPECT_EQ(walk.entered.first(), shownRoot);
    for (const char* folder : {"SUB/", "SUB/DEEP ER/", "TRAIL /", "FOLDER.ZIP/", "EMPTY/"})
        EXPECT_TRUE(walk.entered.contains(shownRoot + QString::fromLatin1(folder))) << folder;
}

TEST_F(FolderWalk, LinksBackIntoThePathAreNotEnteredAgain) {
    Put("x.zip");
    Put("sub/y.zip");
    fs::create_directory_symlink("..", root / "sub" / "up");
    fs::create_directory_symlink(".", root / "self");
    fs::create_directory_symlink("sub", root / "alias");
    fs::create_symlink("x.zip", root / "link.zip");

    QStringList found = Walk(Q(root)).found;
    found.sort();
    EXPECT_EQ(found, QStringList({Q(root / "alias/y.zip"), Q(root / "link.zip"),
                                  Q(root / "sub/y.zip"), Q(root / "x.zip")}))
        << "a link elsewhere is searched; a link back up is not";
}

TEST_F(FolderWalk, StopEndsTheWalkBeforeTheNextEntryAtAnyLevel) {
    fs::path level = root;
    for (int depth = 0; depth < 12; ++depth) {
        tw::test::WriteFile(level / "before.zip", "x");
        tw::test::WriteFile(level / "after.rar", "x");
        level /= "deeper";
    }
    std::atomic<bool> stop{false};
    const Recorded walk = Walk(Q(root), stop, [&](const QString& path) {
        if (path.count(u"/deeper/"_qs) == 6)
            stop = true;
    });
    ASSERT_FALSE(walk.found.isEmpty());
    EXPECT_EQ(walk.found.last().count(u"/deeper/"_qs), 6) << "nothing after the stop";
    EXPECT_LT(walk.found.size(), 24);
}

TEST_F(FolderWalk, UnreadableFoldersAreSkippedSilently) {
    Put("a.zip");
    Put("locked/b.zip");
    Put("z/c.zip");
    fs::permissions(root / "locked", fs::perms::none);
    const bool readable = !QDir(Q(root / "locked")).entryList(QDir::Files).isEmpty();
    const Recorded walk = Walk(Q(root));
    fs::permissions(root / "locked", fs::perms::owner_all);
    if (readable)
        GTEST_SKIP() << "permissions do not bind for this user";
    QStringList found = walk.found;
    found.sort();
    EXPECT_EQ(found, QStringList({Q(root / "a.zip"), Q(root / "z/c.zip")}));
}

TEST_F(FolderWalk, DeepTreesAreWalkedWhateverTheDescriptorLimit) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    fs::path level = root;
    for (int depth = 0; depth < 200; ++depth)
        level /= "d";
    tw::test::WriteFile(level / "bottom.zip", "x");
    rlimit low = saved;
    low.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    const Recorded walk = Walk(Q(root));
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(walk.found, QStringList(Q(level / "bottom.zip")));
    EXPECT_EQ(walk.entered.size(), 201);
}

} // namespace
