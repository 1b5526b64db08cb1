#include "support/temp_home.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Fresh folders for every test, also when a binary runs all its tests in one process.
class FreshHomePerTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { tw::test::EnterFreshHome(); }
    void OnTestEnd(const testing::TestInfo&) override { tw::test::LeaveHome(); }
};

} // namespace

int main(int argc, char** argv) {
    // Test discovery runs the binaries without the test environment; default to no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshHomePerTest);
    return RUN_ALL_TESTS();
}
