#include "extract/archive_processing.h"
#include "support/fixtures.h"
#include "support/rar_writer.h"
#include "support/zip_fixtures.h"
#include "worker_fixture.h"

namespace fs = std::filesystem;
using tw::test::WorkerTest;

namespace {

class ArchiveProcessing : public WorkerTest {
protected:
    QString Destination() {
        fs::create_directories(work / "out");
        return Path(work / "out") + "/";
    }
    QStringList Statuses() const { return recorder.Messages().filter("status|"); }
};

TEST_F(ArchiveProcessing, AZipNamedSetupExeGoesToTheZipEngine) {
    const auto archive = work / "setup.exe";
    tw::test::WriteZip(archive, {{"a.txt", "a"}});
    ProcessExecutableArchive(Path(archive), Destination());
    EXPECT_EQ(tw::test::ReadFile(work / "out/a.txt"), "a");
    EXPECT_EQ(Statuses(),
              QStringList({"status| Scanning setup.exe ...", "status| Testing setup.exe ...",
                           "status| Extracting setup.exe ..."}));
}

TEST_F(ArchiveProcessing, ASelfExtractingRarGetsItsCrcOkRow) {
    const auto archive = work / "setup.exe";
    tw::test::WriteFile(archive, tw::test::MakeRar({{.name = "r.txt", .data = "rar"}},
                                                   {.sfxPrefix = std::string(70000, 'M')}));
    ProcessExecutableArchive(Path(archive), Destination());
    EXPECT_EQ(tw::test::ReadFile(work / "out/r.txt"), "rar");
    EXPECT_EQ(recorder.Rows(), QStringList({"crc", "item|r.txt"}));
}

TEST_F(ArchiveProcessing, ATextFileNamedZipIsNotAValidArchive) {
    tw::test::WriteFile(work / "notes.zip", "just text");
    ProcessArchive(Path(work / "notes.zip"), Destination());
    EXPECT_EQ(recorder.Rows(), QStringList({"error||Not a valid archive"}));
    EXPECT_TRUE(Statuses().isEmpty());
}

TEST_F(ArchiveProcessing, ADamagedZipStopsAfterItsTest) {
    const auto archive = work / "d.zip";
    tw::test::WriteZip(archive, {{"a.txt", std::string(20000, 'x')}});
    std::string bytes = tw::test::ReadFile(archive);
    bytes[60] = static_cast<char>(bytes[60] ^ 0xFF);
    tw::test::WriteFile(archive, bytes);
    ProcessArchive(Path(archive), Destination());
    EXPECT_EQ(Statuses().last(), "status| Unknown error!");
    EXPECT_FALSE(Statuses().contains("status| Extracting d.zip ..."));
    EXPECT_FALSE(fs::exists(work / "out/a.txt"));
}

} // namespace
