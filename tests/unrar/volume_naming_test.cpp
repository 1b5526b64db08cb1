#include "volume_naming.h"

#include <gtest/gtest.h>

namespace {

struct NamingCase {
    const char* current;
    bool newNumbering;
    const char* next;
};

void PrintTo(const NamingCase& c, std::ostream* out) {
    *out << c.current << (c.newNumbering ? " (new numbering)" : " (old numbering)");
}

class UnrarVolumeNaming : public testing::TestWithParam<NamingCase> {};

TEST_P(UnrarVolumeNaming, NamesTheNextVolume) {
    EXPECT_EQ(unrar::NextVolumeName(GetParam().current, GetParam().newNumbering), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, UnrarVolumeNaming,
    testing::Values(NamingCase{"/a/set.part1.rar", true, "/a/set.part2.rar"},
                    NamingCase{"/a/set.part9.rar", true, "/a/set.part10.rar"},
                    NamingCase{"/a/set.part09.rar", true, "/a/set.part10.rar"},
                    NamingCase{"/a/set.part099.rar", true, "/a/set.part100.rar"},
                    NamingCase{"/a/set.part99.rar", true, "/a/set.part100.rar"},
                    NamingCase{"/a/v2.set.part1.rar", true, "/a/v2.set.part2.rar"},
                    NamingCase{"/a/set.part1of3.rar", true, "/a/set.part2of3.rar"},
                    NamingCase{"/a/set.part1.exe", true, "/a/set.part2.rar"},
                    NamingCase{"/a1/set.rar", true, "/a1/set1.rar"},
                    NamingCase{"/a/set.rar", false, "/a/set.r00"},
                    NamingCase{"/a/set.r00", false, "/a/set.r01"},
                    NamingCase{"/a/set.r09", false, "/a/set.r10"},
                    NamingCase{"/a/set.r99", false, "/a/set.s00"},
                    NamingCase{"/a/set.s05", false, "/a/set.s06"},
                    NamingCase{"/a/set.exe", false, "/a/set.r00"},
                    NamingCase{"/a/SET.EXE", false, "/a/SET.r00"},
                    NamingCase{"/a/set.999", false, "/a/set.a00"},
                    NamingCase{"set", false, "set.r00"}));

} // namespace
