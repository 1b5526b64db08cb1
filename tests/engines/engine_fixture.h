#pragma once

#include "engines/engine_conventions.h"
#include "engines/password_protocol.h"
#include "extract/run_state.h"
#include "platform/library.h"
#include "support/fixtures.h"
#include "support/report_recorder.h"
#include "support/temp_home.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tw::test {

// One engine with its real library from the build, a fresh destination folder and a recorder
// of the reports for every test.
template <typename Engine, Engine& (*TheEngine)()> class EngineTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        platform::SetLibraryFolder(BinDir().string());
        ASSERT_TRUE(TheEngine().Load());
    }
    static void TearDownTestSuite() { TheEngine().Unload(); }

    void SetUp() override {
        ExclusionMasks().clear();
        StopRequested = false;
        std::filesystem::create_directories(dest);
        destination = QString::fromStdString(dest.string()) + "/";
    }
    void TearDown() override { SetPasswordPrompt(nullptr); }

    Engine& engine = TheEngine();
    std::filesystem::path work = CurrentHome().work;
    std::filesystem::path dest = work / "out";
    QString destination;
    ReportRecorder recorder;
};

} // namespace tw::test
