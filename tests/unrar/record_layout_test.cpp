#include "unrar.h"

#include <cstddef>
#include <gtest/gtest.h>

namespace {

// Programs written against the UnRAR library for Linux read these records by position: the
// fields keep its order, numbers are 4 bytes and pointers native, with natural alignment.
TEST(UnrarRecordLayout, MatchesTheUnrarLibraryForLinux) {
    static_assert(sizeof(unsigned int) == 4);
    constexpr std::size_t p = sizeof(void*);
    EXPECT_EQ(offsetof(RAROpenArchiveData, ArcName), 0u);
    EXPECT_EQ(offsetof(RAROpenArchiveData, OpenMode), p);
    EXPECT_EQ(offsetof(RAROpenArchiveData, OpenResult), p + 4);
    EXPECT_EQ(offsetof(RAROpenArchiveData, CmtBuf), 2 * p);
    EXPECT_EQ(offsetof(RAROpenArchiveData, CmtBufSize), 3 * p);
    EXPECT_EQ(offsetof(RAROpenArchiveData, CmtSize), 3 * p + 4);
    EXPECT_EQ(offsetof(RAROpenArchiveData, CmtState), 3 * p + 8);

    EXPECT_EQ(offsetof(RARHeaderData, FileName), 260u);
    EXPECT_EQ(offsetof(RARHeaderData, Flags), 520u);
    EXPECT_EQ(offsetof(RARHeaderData, PackSize), 524u);
    EXPECT_EQ(offsetof(RARHeaderData, UnpSize), 528u);
    EXPECT_EQ(offsetof(RARHeaderData, HostOS), 532u);
    EXPECT_EQ(offsetof(RARHeaderData, FileCRC), 536u);
    EXPECT_EQ(offsetof(RARHeaderData, FileTime), 540u);
    EXPECT_EQ(offsetof(RARHeaderData, UnpVer), 544u);
    EXPECT_EQ(offsetof(RARHeaderData, Method), 548u);
    EXPECT_EQ(offsetof(RARHeaderData, FileAttr), 552u);
    const std::size_t comment = (556 + p - 1) / p * p;
    EXPECT_EQ(offsetof(RARHeaderData, CmtBuf), comment);
    EXPECT_EQ(offsetof(RARHeaderData, CmtBufSize), comment + p);
    EXPECT_EQ(offsetof(RARHeaderData, CmtState), comment + p + 8);
    if (p == 4) {
        EXPECT_EQ(sizeof(RAROpenArchiveData), 28u);
        EXPECT_EQ(sizeof(RARHeaderData), 572u);
    }
}

} // namespace
