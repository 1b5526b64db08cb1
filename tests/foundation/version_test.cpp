#include "platform/version.h"

#include <gtest/gtest.h>

TEST(Version, DerivedText) {
    EXPECT_EQ(platform::DeriveVersionText("2, 7, 0, 0"), "2.70");
    EXPECT_EQ(platform::DeriveVersionText("12, 7, 0, 0"), "1.27");
    EXPECT_EQ(platform::DeriveVersionText(""), "");
    EXPECT_EQ(platform::ProductVersionResource(), "2, 7, 0, 0");
    EXPECT_EQ(platform::ProgramVersion(), "2.70");
}
