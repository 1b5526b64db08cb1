#include "twlib/codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(LibsCommon, OemCodePagesBecomeUtf8) {
    EXPECT_EQ(twlib::Cp437ToUtf8("plain/\x81"
                                 "ber.txt"),
              "plain/über.txt");
    EXPECT_EQ(twlib::Cp850ToUtf8("\x9b\xd0"), "øð");
    EXPECT_EQ(twlib::Cp437ToUtf8("\x9b"), "¢");
}

} // namespace
