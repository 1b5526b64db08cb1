#include "extract/run_state.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"
#include "worker_fixture.h"

#include <QDir>

namespace fs = std::filesystem;
using tw::test::WorkerTest;

namespace {

void Set(const char* name, std::uint32_t value) {
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, name, value);
}

TEST_F(WorkerTest, DestinationsFollowTheSettings) {
    struct Case {
        const char* title;
        bool favorite, current, nameFolder;
        const char* favoriteFolder; // relative to the work folder
        const char* archive;        // relative to the work folder
        const char* expected;       // where inside.txt lands, relative to the work folder
    };
    const Case cases[] = {
        {"own folder", false, true, false, "", "dl/setup.zip", "dl/inside.txt"},
        {"own name folder", false, true, true, "", "dl/setup.zip", "dl/setup/inside.txt"},
        {"two extensions", false, true, true, "", "dl/a.tar.zip", "dl/a.tar/inside.txt"},
        {"favourite without separator", true, false, false, "fav", "dl/x.zip", "fav/inside.txt"},
        {"favourite with separator", true, false, true, "fav2/", "dl/y.zip", "fav2/y/inside.txt"},
        {"both set: beside the archive", true, true, false, "fav3", "dl/z.zip", "dl/inside.txt"},
    };
    for (const auto& c : cases) {
        fs::remove_all(work / "dl");
        fs::create_directories(work / "dl");
        QDir().mkpath(Path(work / "fav"));
        QDir().mkpath(Path(work / "fav2"));
        Set("Favorite Activated", c.favorite);
        Set("Current Directory", c.current);
        Set("Name Folder", c.nameFolder);
        WriteString(HKEY_LOCAL_MACHINE, kProgramKey, "Favorite Folder",
                    Path(work / c.favoriteFolder));
        host.archives.clear();
        fs::create_directories((work / c.archive).parent_path());
        tw::test::WriteZip(work / c.archive, {{"inside.txt", "x"}});
        host.Add(work / c.archive);
        Run();
        EXPECT_TRUE(fs::exists(work / c.expected)) << c.title << "\n"
                                                   << recorder.Rows().join("\n").toStdString();
    }
}

TEST_F(WorkerTest, ACancelledBrowserExtractsNothing) {
    host.Add(Zip("a.zip"));
    Run();
    EXPECT_EQ(host.browserStarts, QStringList({Path(work) + "/"}));
    EXPECT_EQ(recorder.Messages().filter("status|").last(), "status| Operation Canceled.");
    EXPECT_FALSE(fs::exists(work / "inside.txt"));
    EXPECT_TRUE(host.opened.isEmpty());
    EXPECT_TRUE(recorder.Rows().isEmpty());
}

TEST_F(WorkerTest, StopDuringTheSecondOfFiveFinishesItAndOpensNothing) {
    Set("Open Folder", 1);
    for (int i = 1; i <= 5; ++i)
        host.Add(Zip("a" + std::to_string(i) + ".zip"));
    host.browserAnswer = Path(work / "out");
    host.onArchive = [](int index) {
        if (index == 1)
            StopRequested = true;
    };
    Run();
    EXPECT_EQ(host.overall, QStringList({"1/5", "2/5"}));
    EXPECT_EQ(recorder.Rows().count("item|Done"), 2);
    EXPECT_EQ(recorder.Messages().last(), "status| Operation Stopped.");
    EXPECT_TRUE(host.opened.isEmpty());
}

TEST_F(WorkerTest, StopDuringTheLastArchiveStillOpensTheFolder) {
    Set("Open Folder", 1);
    host.Add(Zip("a.zip"));
    host.Add(Zip("b.zip"));
    host.browserAnswer = Path(work / "out");
    host.onArchive = [](int index) {
        if (index == 1)
            StopRequested = true;
    };
    Run();
    EXPECT_EQ(recorder.Messages().last(), "status| Operation Stopped.");
    EXPECT_EQ(host.opened, QStringList({Path(work / "out") + "/"}));
}

TEST_F(WorkerTest, OpenFolderWithOneAndWithSeveralArchives) {
    Set("Open Folder", 1);
    Set("Name Folder", 1);
    host.Add(Zip("one.zip"));
    host.browserAnswer = Path(work / "out");
    Run();
    EXPECT_EQ(host.opened, QStringList({Path(work / "out/one") + "/"}));

    host.opened.clear();
    host.Add(Zip("two.zip"));
    Run();
    EXPECT_EQ(host.opened, QStringList({Path(work / "out") + "/"}));
}

TEST_F(WorkerTest, AnEmptyListStillEndsDone) {
    Set("Open Folder", 1);
    host.browserAnswer = Path(work);
    Run();
    EXPECT_EQ(host.browserStarts, QStringList({""}));
    EXPECT_EQ(recorder.Messages().last(), "status| Done.");
    EXPECT_EQ(host.opened, QStringList({Path(work) + "/"}));
}

TEST_F(WorkerTest, ArchivesAddedDuringTheRunAreProcessedInIt) {
    host.Add(Zip("first.zip"));
    const auto later = Zip("later.zip");
    host.browserAnswer = Path(work / "out");
    host.onArchive = [&, added = false](int index) mutable {
        if (index == 0 && !added)
            host.Add(later);
        added = true;
    };
    Run();
    EXPECT_EQ(host.overall, QStringList({"1/2", "2/2"}));
}

TEST_F(WorkerTest, DeleteAfterExtractionMovesTheArchiveToTheTrash) {
    Set("Delete After Extraction", 1);
    host.Add(Zip("gone soon ü.zip"));
    host.browserAnswer = Path(work / "out");
    Run();
    EXPECT_FALSE(fs::exists(work / "gone soon ü.zip"));
    const auto trash = tw::test::CurrentHome().data / "Trash";
    EXPECT_TRUE(fs::exists(trash / "files" / "gone soon ü.zip"));
    const std::string info = tw::test::ReadFile(trash / "info" / "gone soon ü.zip.trashinfo");
    EXPECT_NE(info.find("gone%20soon%20%C3%BC.zip"), std::string::npos) << info;
    EXPECT_TRUE(recorder.Rows().contains("item|||Deleted to Recycling Bin"));
}

} // namespace
