#include "twlib/safe_path.h"

#include <gtest/gtest.h>

namespace {

TEST(LibsCommon, SafeRelativePaths) {
    struct Case {
        std::string name;
        const char* expected; // null: refused
    };
    const Case cases[] = {
        {"a/b/c.txt", "a/b/c.txt"},
        {"a\\b\\c.txt", "a/b/c.txt"},
        {"./a//b/./c", "a/b/c"},
        {"dir/", "dir"},
        {"a/../b", nullptr},
        {"../../../../tmp/x", nullptr},
        {"..\\evil", nullptr},
        {"/etc/passwd", nullptr},
        {"\\windows\\x", nullptr},
        {"C:\\x.txt", nullptr},
        {"c:x.txt", nullptr},
        {"", nullptr},
        {"./", nullptr},
        {std::string("a\0b", 3), nullptr},
        {"..foo/bar..", "..foo/bar.."},
    };
    for (const auto& c : cases) {
        const auto safe = twlib::SafeRelativePath(c.name);
        if (c.expected) {
            ASSERT_TRUE(safe) << c.name;
            EXPECT_EQ(*safe, c.expected);
        } else {
            EXPECT_FALSE(safe) << c.name;
        }
    }
}

TEST(LibsCommon, LinkTargetsByTheirText) {
    EXPECT_TRUE(twlib::LinkTargetStaysInside("a/link", "b.txt"));
    EXPECT_TRUE(twlib::LinkTargetStaysInside("a/link", "../top.txt"));
    EXPECT_FALSE(twlib::LinkTargetStaysInside("a/link", "../../out"));
    EXPECT_FALSE(twlib::LinkTargetStaysInside("link", "/etc/passwd"));
    EXPECT_FALSE(twlib::LinkTargetStaysInside("link", "C:\\x"));
    EXPECT_FALSE(twlib::LinkTargetStaysInside("link", ""));
}

} // namespace
