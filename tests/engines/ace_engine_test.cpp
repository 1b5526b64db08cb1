#include "engine_fixture.h"
#include "engines/ace_engine.h"
#include "settings/settings_store.h"
#include "support/ace_writer.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace ace = tw::test::ace;

namespace {

class AceEngineTest : public tw::test::EngineTest<AceEngine, TheAceEngine> {
protected:
    QString Ace(const std::string& name, const std::vector<ace::Entry>& entries,
                const ace::Options& options = {}) {
        const auto volumes = ace::WriteVolumes(entries, options);
        const auto first = work / name;
        tw::test::WriteFile(first, volumes.at(0));
        for (std::size_t i = 1; i < volumes.size(); ++i) {
            auto later = first;
            later.replace_extension(".c" + std::string(i - 1 < 10 ? "0" : "") +
                                    std::to_string(i - 1));
            tw::test::WriteFile(later, volumes[i]);
        }
        return QString::fromStdString(first.string());
    }

    bool Steps(const QString& archive) {
        return engine.Probe(archive) && engine.List(archive) && engine.Test(archive) &&
               engine.Extract(archive, destination);
    }
};

TEST_F(AceEngineTest, ExtractsWithMasksCountsAndProgress) {
    const QString archive = Ace("a.ace", {{.name = "docs", .directory = true},
                                          {.name = "docs\\a.txt", .data = "alpha"},
                                          {.name = "docs\\skip.log", .data = "log"},
                                          {.name = "b.txt", .data = "beta"}});
    ExclusionMasks() = QStringList{"*.log"};
    ASSERT_TRUE(Steps(archive)) << recorder.Messages().join("\n").toStdString();
    EXPECT_EQ(tw::test::ReadFile(dest / "docs/a.txt"), "alpha");
    EXPECT_EQ(tw::test::ReadFile(dest / "b.txt"), "beta");
    EXPECT_FALSE(fs::exists(dest / "docs/skip.log"));
    EXPECT_EQ(recorder.Rows(),
              QStringList({"item|docs/a.txt", "error|docs/skip.log|Matched masks not to extract",
                           "item|b.txt"}));
    EXPECT_EQ(recorder.High(), 3) << "files only";
    EXPECT_TRUE(recorder.Messages().contains("pos|1")) << "extraction starts at the excluded count";
}

TEST_F(AceEngineTest, AnExistingTargetIsKeptAndNamedRelativeToTheDestination) {
    const QString archive = Ace("o.ace", {{.name = "sub\\f.txt", .data = "new"}});
    tw::test::WriteFile(dest / "sub/f.txt", "old");
    Steps(archive);
    EXPECT_EQ(tw::test::ReadFile(dest / "sub/f.txt"), "old");
    EXPECT_TRUE(recorder.Rows().contains("error|sub/f.txt|File already exists"));

    recorder.Clear();
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, "Overwrite", 1);
    ASSERT_TRUE(Steps(archive));
    EXPECT_EQ(tw::test::ReadFile(dest / "sub/f.txt"), "new");
    EXPECT_EQ(recorder.Rows(), QStringList({"item|sub/f.txt"}));
}

TEST_F(AceEngineTest, ThePasswordIsAskedInTheProbeAndAgainInTheTest) {
    const QString archive =
        Ace("p.ace", {{.name = "secret.txt", .data = "hidden", .password = "1234"}});
    QStringList prompts;
    SetPasswordPrompt([&](const QString& prompt) {
        prompts << prompt;
        return QString("1234");
    });
    ASSERT_TRUE(Steps(archive)) << recorder.Messages().join("\n").toStdString();
    EXPECT_EQ(tw::test::ReadFile(dest / "secret.txt"), "hidden");
    EXPECT_EQ(prompts, QStringList({"Enter password for p.ace : ", "Enter password for p.ace : "}));
}

TEST_F(AceEngineTest, VolumeChangesOpenArchiveRowsAndAMissingVolumeIsNamed) {
    const QString first =
        Ace("set.ace", {{.name = "big.bin", .data = std::string(3000, 'v')}}, {.volumeData = 1000});
    ASSERT_TRUE(Steps(first)) << recorder.Messages().join("\n").toStdString();
    EXPECT_EQ(tw::test::ReadFile(dest / "big.bin"), std::string(3000, 'v'));
    const QString c00 = QString::fromStdString((work / "set.c00").string());
    EXPECT_TRUE(recorder.Rows().contains("archive|" + c00 + "|"));

    recorder.Clear();
    fs::remove(work / "set.c00");
    EXPECT_FALSE(engine.List(first) && engine.Test(first));
    EXPECT_TRUE(recorder.Rows().contains("error|set.c00|Cannot find archive"))
        << recorder.Rows().join("\n").toStdString();
}

TEST_F(AceEngineTest, UnsafeNamesAreRefusedAndNothingLeavesTheDestination) {
    const QString archive = Ace(
        "u.ace", {{.name = "..\\..\\escape.txt", .data = "x"}, {.name = "fine.txt", .data = "ok"}});
    engine.List(archive);
    engine.Extract(archive, destination);
    EXPECT_FALSE(fs::exists(work / "escape.txt"));
    EXPECT_FALSE(fs::exists(work.parent_path() / "escape.txt"));
    EXPECT_EQ(tw::test::ReadFile(dest / "fine.txt"), "ok");
    EXPECT_TRUE(recorder.Rows().contains("error||Unsafe path not extracted: ../../escape.txt"))
        << recorder.Rows().join("\n").toStdString();
}

TEST_F(AceEngineTest, NoAceFileAndStop) {
    tw::test::WriteFile(work / "notes.ace", "plain text");
    const QString text = QString::fromStdString((work / "notes.ace").string());
    EXPECT_FALSE(engine.Probe(text));
    EXPECT_TRUE(recorder.Rows().isEmpty()) << "the probe is silent";

    const QString archive = Ace("s.ace", {{.name = "a.txt", .data = "a"}});
    ASSERT_TRUE(engine.List(archive));
    StopRequested = true;
    EXPECT_FALSE(engine.Extract(archive, destination));
    EXPECT_FALSE(fs::exists(dest / "a.txt"));
}

TEST_F(AceEngineTest, RealArchivesFromTheOriginalArchiver) {
    TW_REQUIRE_SHARED_FIXTURES(fixtures, "ace");
    SetPasswordPrompt([](const QString&) { return QString("1234"); });
    for (const char* name :
         {"onefile.ace", "zdir.ace", "multivolume.ace", "dir2.ace", "passwd2.ace", "ALCHT.ACE"}) {
        fs::remove_all(dest);
        fs::create_directories(dest);
        recorder.Clear();
        const QString archive = QString::fromStdString((fixtures / name).string());
        EXPECT_TRUE(Steps(archive)) << name << "\n" << recorder.Rows().join("\n").toStdString();
        EXPECT_FALSE(fs::is_empty(dest)) << name;
    }
}

} // namespace
