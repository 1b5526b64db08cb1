#include "archives/icon_cache.h"
#include "ui_support/ui_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(IconCache, FixedEntriesThenOneEntryPerExtensionInAnyCase) {
    tw::test::EnsureApplication();
    IconCache cache;
    cache.ResetIcons();
    EXPECT_EQ(cache.Names(),
              QStringList({u"*"_qs, u"OK"_qs, u"ERR"_qs, u"PROC"_qs, u"DIRCREATE"_qs}));
    const int zip = cache.IconIndexFor(u".ZIP"_qs);
    EXPECT_EQ(zip, 5);
    EXPECT_EQ(cache.IconIndexFor(u".zip"_qs), zip);
    EXPECT_EQ(cache.IconIndexFor(u".no-such-type-here"_qs), 6);
    EXPECT_EQ(cache.Names().size(), 7);
    for (int i = 0; i < cache.Names().size(); ++i) {
        EXPECT_EQ(cache.SmallIcon(i).size(), QSize(16, 16)) << i;
        EXPECT_EQ(cache.LargeIcon(i).size(), QSize(32, 32)) << i;
    }
    // An unknown type falls back to the generic picture.
    EXPECT_EQ(cache.SmallIcon(6).toImage(), cache.SmallIcon(0).toImage());
    cache.ResetIcons();
    EXPECT_EQ(cache.Names().size(), 5);
}

} // namespace
