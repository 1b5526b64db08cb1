#include "engine_fixture.h"
#include "engines/rar_engine.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"
#include "support/rar_writer.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using tw::test::RarTestEntry;

namespace {

class RarEngineTest : public tw::test::EngineTest<RarEngine, TheRarEngine> {
protected:
    QString Rar(const std::string& name, const std::vector<RarTestEntry>& entries,
                const tw::test::RarTestOptions& options = {}) {
        const auto path = work / name;
        tw::test::WriteFile(path, tw::test::MakeRar(entries, options));
        return QString::fromStdString(path.string());
    }

    bool Steps(const QString& archive) {
        return engine.Probe(archive) && engine.List(archive, destination) &&
               engine.Test(archive, destination) && engine.Extract(archive, destination);
    }
};

TEST_F(RarEngineTest, ExtractsFilesWithMasksFoldersAndExistingTargets) {
    for (const auto format : {tw::test::RarFormat::Rar4, tw::test::RarFormat::Rar5}) {
        recorder.Clear();
        fs::remove_all(dest);
        fs::create_directories(dest);
        tw::test::WriteFile(dest / "keep.txt", "old");
        const QString archive = Rar("a.rar",
                                    {{.name = "docs", .folder = true, .attributes = 0x10},
                                     {.name = "docs/a.txt", .data = "alpha"},
                                     {.name = "docs/skip.log", .data = "log"},
                                     {.name = "keep.txt", .data = "new"}},
                                    {.format = format});
        ExclusionMasks() = QStringList{"*.log"};
        ASSERT_TRUE(Steps(archive)) << recorder.Messages().join("\n").toStdString();
        EXPECT_EQ(tw::test::ReadFile(dest / "docs/a.txt"), "alpha");
        EXPECT_FALSE(fs::exists(dest / "docs/skip.log"));
        EXPECT_EQ(tw::test::ReadFile(dest / "keep.txt"), "old");
        EXPECT_EQ(recorder.Rows(),
                  QStringList({"item|docs/a.txt", "error|docs/skip.log|Matched mask not to extract",
                               "error|keep.txt|File already exists"}));
        EXPECT_EQ(recorder.High(), 3) << "the folder is not counted";
        EXPECT_EQ(recorder.Position(), 3) << "the excluded file still steps the bar";
    }
}

TEST_F(RarEngineTest, APasswordAskedWhileListingServesTheWholeArchive) {
    const QString archive = Rar("e.rar", {{.name = "clear.txt", .data = "c"},
                                          {.name = "b.txt", .data = "b", .encrypted = true},
                                          {.name = "d.txt", .data = "d", .encrypted = true}});
    int asked = 0;
    SetPasswordPrompt([&](const QString& prompt) {
        ++asked;
        EXPECT_EQ(prompt, "Enter password for e.rar : ");
        return QString("pw");
    });
    ASSERT_TRUE(engine.List(archive, destination));
    EXPECT_EQ(asked, 1);
    engine.Test(archive, destination);
    engine.Extract(archive, destination);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(fs::exists(dest / "b.txt")) << "the built-in library cannot decrypt";
}

TEST_F(RarEngineTest, VolumeSetsReportEachVolumeAndAMissingOne) {
    const auto volumes = tw::test::WriteRarVolumes(
        work, "set", {{.name = "big.bin", .data = std::string(3000, 'v')}}, 1000);
    ASSERT_GE(volumes.size(), 3u);
    const QString first = QString::fromStdString(volumes.front().string());
    ASSERT_TRUE(Steps(first));
    EXPECT_EQ(tw::test::ReadFile(dest / "big.bin"), std::string(3000, 'v'));
    const QString second = "archive|" + QString::fromStdString(volumes[1].string()) + "|";
    EXPECT_EQ(recorder.Rows().count(second), 3) << "once in each of the three steps";

    recorder.Clear();
    fs::remove(volumes[1]);
    fs::remove_all(dest);
    fs::create_directories(dest);
    EXPECT_FALSE(engine.Extract(first, destination));
    EXPECT_EQ(recorder.Rows().count("error|" +
                                    QString::fromStdString(volumes[1].filename().string()) +
                                    "|Cannot find archive"),
              1);
}

TEST_F(RarEngineTest, OpenFailuresAndBrokenHeaders) {
    tw::test::WriteFile(work / "notes.rar", "plain text, not an archive");
    const QString text = QString::fromStdString((work / "notes.rar").string());
    EXPECT_FALSE(engine.Probe(text));
    EXPECT_FALSE(engine.List(text, destination));
    const QString future =
        Rar("f.rar", {{.name = "a", .data = "a"}}, {.damage = tw::test::RarDamage::FutureVersion});
    EXPECT_FALSE(engine.List(future, destination));
    EXPECT_EQ(recorder.Rows(), QStringList({"error||File is not a valid archive", "error||"}));
}

TEST_F(RarEngineTest, UnsafeNamesAreNeverHandedOverForExtraction) {
    const QString archive =
        Rar("u.rar", {{.name = "../escape.txt", .data = "x"}, {.name = "fine.txt", .data = "ok"}});
    engine.List(archive, destination);
    engine.Extract(archive, destination);
    EXPECT_FALSE(fs::exists(work / "escape.txt"));
    EXPECT_EQ(tw::test::ReadFile(dest / "fine.txt"), "ok");
    EXPECT_TRUE(recorder.Rows().contains("error||Unsafe path not extracted: ../escape.txt"));
}

TEST_F(RarEngineTest, StopEndsTheStepBeforeTheNextEntry) {
    const QString archive = Rar("s.rar", {{.name = "a.txt", .data = "a"}});
    ASSERT_TRUE(engine.List(archive, destination));
    StopRequested = true;
    EXPECT_FALSE(engine.Extract(archive, destination));
    EXPECT_FALSE(fs::exists(dest / "a.txt"));
}

TEST_F(RarEngineTest, RealArchivesFromTheOriginalArchiver) {
    TW_REQUIRE_SHARED_FIXTURES(rar, "rar");
    for (const char* name :
         {"testfile.rar3.rar", "testfile.rar5.solid.rar", "testfile.rar5.wincon.sfx.exe",
          "read_format_rar5_multiarchive.part01.rar"}) {
        fs::remove_all(dest);
        fs::create_directories(dest);
        const QString archive = QString::fromStdString((rar / name).string());
        EXPECT_TRUE(Steps(archive)) << name << "\n" << recorder.Rows().join("\n").toStdString();
        EXPECT_FALSE(fs::is_empty(dest)) << name;
    }
}

} // namespace
