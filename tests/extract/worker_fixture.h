#pragma once

#include "extract/run_host.h"
#include "support/report_recorder.h"

#include <QStringList>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace tw::test {

// A front end for runs in tests: a list of archives, a scripted folder browser, and a record of
// what the run asked of it.
class TestHost : public RunHost {
public:
    std::vector<ListedArchive> archives;
    std::optional<QString> browserAnswer;
    QStringList browserStarts;
    QStringList opened;
    QStringList overall;                      // "done/count" after each archive
    std::function<void(int index)> onArchive; // called as the worker takes archive `index`

    int ArchiveCount() override { return static_cast<int>(archives.size()); }
    ListedArchive ArchiveAt(int index) override;
    std::optional<QString> AskDestination(const QString& startFolder) override;
    void RunStarting(int) override {}
    void ArchiveDone(int done, int count) override;
    void RunEnded() override {}
    void Beep() override {}
    void OpenFolder(const QString& folder) override { opened << folder; }

    void Add(const std::filesystem::path& archive);
};

// Loads the real libraries from the build once for the whole test binary.
class WorkerTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // A small ZIP holding one file "inside.txt".
    std::filesystem::path Zip(const std::string& name);
    // Runs the worker on this thread until the run ends.
    void Run();
    QString Path(const std::filesystem::path& path) const {
        return QString::fromStdString(path.string());
    }

    std::filesystem::path work;
    TestHost host;
    ReportRecorder recorder;
};

} // namespace tw::test
