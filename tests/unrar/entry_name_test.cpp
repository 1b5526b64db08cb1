#include "entry_name.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    std::string field;
    std::string utf8;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.utf8);
}

class UnrarUnicodeName : public testing::TestWithParam<NameCase> {};

TEST_P(UnrarUnicodeName, DecodesTheNameField) {
    EXPECT_EQ(unrar::DecodeRar4UnicodeName(GetParam().field), GetParam().utf8);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Forms, UnrarUnicodeName,
    testing::Values(
        // No NUL: the field is UTF-8 already.
        NameCase{"gr\xC3\xBC\xC3\x9F.txt", "gr\xC3\xBC\xC3\x9F.txt"},
        // High byte 0x04, flags 01 00 10 00: a Cyrillic letter from the high byte, a plain
        // byte, a full unit (U+20AC), a plain byte.
        NameCase{"x?b\0"s
                 "\x04\x48\x10"
                 "b\xAC\x20"
                 "c"s,
                 "\xD0\x90"
                 "b\xE2\x82\xAC"
                 "c"},
        // A run copied from the narrow name: length 3+2, then a corrected run of 0+2 bytes
        // shifted by 0x10 under high byte 0x04 (0x20 + 0x10 = U+0430, 0x21 + 0x10 = U+0431).
        NameCase{"hello !\0"s
                 "\x04\xF0\x03\x80\x10"s,
                 "hello\xD0\xB0\xD0\xB1"},
        // Truncated operands end the name instead of reading past the field.
        NameCase{"ab\0"s
                 "\x00\x80"s,
                 ""}));

} // namespace
