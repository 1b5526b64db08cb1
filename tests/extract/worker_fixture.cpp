#include "worker_fixture.h"

#include "engines/engine_conventions.h"
#include "extract/extraction_worker.h"
#include "extract/load_engines.h"
#include "extract/run_state.h"
#include "platform/library.h"
#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"

namespace tw::test {

ListedArchive TestHost::ArchiveAt(int index) {
    if (onArchive)
        onArchive(index);
    return archives.at(static_cast<std::size_t>(index));
}

std::optional<QString> TestHost::AskDestination(const QString& startFolder) {
    browserStarts << startFolder;
    return browserAnswer;
}

void TestHost::ArchiveDone(int done, int count) {
    overall << QString("%1/%2").arg(done).arg(count);
}

void TestHost::Add(const std::filesystem::path& archive) {
    archives.push_back({QString::fromStdString(archive.parent_path().string()) + "/",
                        QString::fromStdString(archive.filename().string())});
}

void WorkerTest::SetUpTestSuite() {
    platform::SetLibraryFolder(BinDir().string());
    LoadEngines();
}

void WorkerTest::TearDownTestSuite() {
    UnloadEngines();
}

void WorkerTest::SetUp() {
    work = CurrentHome().work;
    StopRequested = false;
}

std::filesystem::path WorkerTest::Zip(const std::string& name) {
    const auto path = work / name;
    WriteZip(path, {{"inside.txt", "content of " + name}});
    return path;
}

void WorkerTest::Run() {
    RunInProgress = true;
    ExtractionWorker(host);
    EXPECT_FALSE(RunInProgress);
}

} // namespace tw::test
