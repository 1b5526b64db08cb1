#include "twlib/exclude_mask.h"

#include <gtest/gtest.h>

namespace {

TEST(LibsCommon, ExclusionMasksAreCaseInsensitiveSubstringPieces) {
    struct Case {
        const char* name;
        const char* mask;
        bool excluded;
    };
    const Case cases[] = {
        {"notes.txt", "txt", true},
        {"TXT/a.doc", "txt", true},
        {"mytxtfile.c", "txt", true},
        {"readme.txt", "*.txt", true},
        {"notes.txt.bak", "*.txt", true},
        {"Temp/a.doc", "temp", true},
        {"mytemplate.dot", "TEMP", true},
        {"anything", "*", false},
        {"anything", "***", false},
        {"xyz", "a*b", false},
        {"cab", "a*b", true},
        {"only-b", "a*b", true},
        {"file.doc", "", false},
        {"Ünï.TXT", "*.txt", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(twlib::MatchesMask(c.name, c.mask), c.excluded) << c.name << " / " << c.mask;
    EXPECT_TRUE(twlib::MatchesAnyMask("a.log", {"*.txt", "log"}));
    EXPECT_FALSE(twlib::MatchesAnyMask("a.doc", {}));
}

TEST(LibsCommon, MaskListsSplitWithoutEmptyMasks) {
    EXPECT_EQ(twlib::SplitMasks("*.txt\r\rtemp\r", '\r'),
              (std::vector<std::string>{"*.txt", "temp"}));
    EXPECT_TRUE(twlib::SplitMasks("", '\r').empty());
}

} // namespace
