#include "engine_fixture.h"
#include "engines/zip_engine.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"
#include "support/zip_fixtures.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using tw::test::ZipEntry;

namespace {

class ZipEngineTest : public tw::test::EngineTest<ZipEngine, TheZipEngine> {
protected:
    QString Zip(const std::string& name, const std::vector<ZipEntry>& entries,
                const tw::test::ZipWriteOptions& options = {}) {
        const auto path = work / name;
        tw::test::WriteZip(path, entries, options);
        return QString::fromStdString(path.string());
    }

    // The worker's order for one archive.
    bool RunAll(const QString& archive) {
        return engine.Probe(archive) && engine.List(archive, destination) &&
               engine.Test(archive, destination) && (engine.Extract(archive, destination), true);
    }
};

TEST_F(ZipEngineTest, ExtractsWithRowsMasksAndProgress) {
    const QString archive = Zip("a.zip", {{"docs/", "", ZipEntry::Kind::Folder},
                                          {"docs/a.txt", "alpha"},
                                          {"docs/skip.log", "log"},
                                          {"b.bin", std::string(5000, 'b')}});
    ExclusionMasks() = QStringList{"*.log"};
    ASSERT_TRUE(RunAll(archive));
    EXPECT_EQ(tw::test::ReadFile(dest / "docs/a.txt"), "alpha");
    EXPECT_EQ(tw::test::ReadFile(dest / "b.bin"), std::string(5000, 'b'));
    EXPECT_FALSE(fs::exists(dest / "docs/skip.log"));
    EXPECT_EQ(recorder.Rows(), QStringList({"error|docs/skip.log|Matched masks not to extract",
                                            "item|docs/", "item|docs/a.txt", "item|b.bin"}));
    EXPECT_EQ(recorder.High(), 4);
    EXPECT_EQ(recorder.Position(), 4) << "excluded entries start the bar, extracted ones step it";
}

TEST_F(ZipEngineTest, AnArchiveOfOnlyFoldersAndExcludedFilesIsNotExtracted) {
    const QString archive = Zip("f.zip", {{"d/", "", ZipEntry::Kind::Folder}, {"d/x.tmp", "t"}});
    ExclusionMasks() = QStringList{"tmp"};
    ASSERT_TRUE(RunAll(archive));
    EXPECT_FALSE(fs::exists(dest / "d"));
    EXPECT_EQ(recorder.Messages().mid(recorder.Messages().size() - 3),
              QStringList({"pos|0", "range|0|1", "pos|1"}));
}

TEST_F(ZipEngineTest, ExistingTargetsFollowTheOverwriteValue) {
    const QString archive = Zip("o.zip", {{"f.txt", "new"}});
    tw::test::WriteFile(dest / "f.txt", "old");
    ASSERT_TRUE(RunAll(archive));
    EXPECT_EQ(tw::test::ReadFile(dest / "f.txt"), "old");
    EXPECT_TRUE(recorder.Rows().contains("error|f.txt|File already exists"));

    recorder.Clear();
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, "Overwrite", 1);
    ASSERT_TRUE(RunAll(archive));
    EXPECT_EQ(tw::test::ReadFile(dest / "f.txt"), "new");
    EXPECT_EQ(recorder.Rows(), QStringList({"item|f.txt"}));
}

TEST_F(ZipEngineTest, ProbesAreSilentAndRefuseWhatIsNoZip) {
    const QString empty = Zip("empty.zip", {});
    tw::test::WriteFile(dest / "../notes.zip", "just some text, no archive at all");
    EXPECT_TRUE(engine.Probe(empty));
    EXPECT_FALSE(engine.Probe(QString::fromStdString((dest / "../notes.zip").string())));
    EXPECT_TRUE(recorder.Rows().isEmpty());
    EXPECT_EQ(recorder.Messages().first(), "recording|0");
    EXPECT_EQ(recorder.Messages().last(), "recording|1");
}

TEST_F(ZipEngineTest, OnePasswordServesTheArchiveAndEachArchiveAsksAgain) {
    tw::test::ZipWriteOptions aes;
    aes.encryption = "aes256";
    aes.password = "secret";
    const QString first = Zip("p1.zip", {{"a.txt", "one"}, {"b.txt", "two"}}, aes);
    const QString second = Zip("p2.zip", {{"c.txt", "three"}}, aes);
    QStringList answers = {"CANCELED", "secret"};
    QStringList prompts;
    SetPasswordPrompt([&](const QString& prompt) {
        prompts << prompt;
        return answers.takeFirst();
    });

    RunAll(first);
    EXPECT_FALSE(fs::exists(dest / "a.txt"));
    EXPECT_TRUE(recorder.Rows().contains("error||Password required"));
    EXPECT_EQ(prompts, QStringList({"Enter password for p1.zip : "}));

    recorder.Clear();
    ASSERT_TRUE(RunAll(second));
    EXPECT_EQ(tw::test::ReadFile(dest / "c.txt"), "three");
    EXPECT_EQ(prompts.size(), 2) << "List empties the cache, so the second archive asks again";
    EXPECT_FALSE(recorder.Rows().contains("error||Password required"));
}

TEST_F(ZipEngineTest, AWrongPasswordIsReportedPerEntry) {
    tw::test::ZipWriteOptions crypto;
    crypto.encryption = "zipcrypt";
    crypto.password = "right";
    const QString archive = Zip("w.zip", {{"docs/a.txt", "secret data"}}, crypto);
    SetPasswordPrompt([](const QString&) { return QString("wrong"); });
    EXPECT_FALSE(RunAll(archive)) << "the test step fails";
    EXPECT_TRUE(recorder.Rows().contains("error|docs/a.txt|Invalid password"));
    EXPECT_FALSE(fs::exists(dest / "docs/a.txt"));
}

TEST_F(ZipEngineTest, StopEndsTheExtractionAtTheNextEntry) {
    const QString archive = Zip("s.zip", {{"a.txt", "a"}, {"b.txt", "b"}});
    ASSERT_TRUE(engine.Probe(archive) && engine.List(archive, destination) &&
                engine.Test(archive, destination));
    StopRequested = true;
    EXPECT_FALSE(engine.Extract(archive, destination));
    EXPECT_FALSE(fs::exists(dest / "a.txt"));
    EXPECT_FALSE(fs::exists(dest / "b.txt"));
}

TEST_F(ZipEngineTest, ADamagedArchiveFailsItsTest) {
    const QString archive = Zip("d.zip", {{"a.txt", std::string(20000, 'x')}});
    std::string bytes = tw::test::ReadFile(archive.toStdString());
    bytes[60] = static_cast<char>(bytes[60] ^ 0xFF);
    bytes[61] = static_cast<char>(bytes[61] ^ 0xFF);
    tw::test::WriteFile(archive.toStdString(), bytes);
    EXPECT_TRUE(engine.Probe(archive));
    EXPECT_TRUE(engine.List(archive, destination));
    EXPECT_FALSE(engine.Test(archive, destination));
}

} // namespace
