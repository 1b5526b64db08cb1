#include "platform/registry.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

namespace registry = platform::registry;

namespace {

const QString kKey = "Software\\Tamblewick";

TEST(SettingsStore, ReadingANumberCreatesItsKeyButReadingATextDoesNot) {
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, "Software\\Text", "x", "dflt"), "dflt");
    EXPECT_FALSE(registry::KeyExists(registry::Root::LocalMachine, "Software\\Text"));

    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey + "\\WindowPos", "Width", 360u), 360u);
    EXPECT_TRUE(
        registry::KeyExists(registry::Root::LocalMachine, "Software\\Tamblewick\\WindowPos"));
    EXPECT_TRUE(
        registry::Values(registry::Root::LocalMachine, "Software\\Tamblewick\\WindowPos").empty());
}

TEST(SettingsStore, RoundTripsAndStoredEncodings) {
    SettingsStore store(HKEY_LOCAL_MACHINE, kKey);
    EXPECT_TRUE(store.WriteDword("Overwrite", 1));
    EXPECT_TRUE(store.WriteString("Favorite Folder", QString::fromUtf8("/home/ü/out/")));
    EXPECT_EQ(store.ReadDword("overwrite", 0), 1u);
    EXPECT_EQ(store.ReadString("FAVORITE FOLDER", ""), QString::fromUtf8("/home/ü/out/"));

    const auto text = registry::QueryValue(registry::Root::LocalMachine, "Software\\Tamblewick",
                                           "Favorite Folder");
    EXPECT_EQ(text->type, registry::REG_SZ);
    EXPECT_EQ(text->data.size(), std::string("/home/ü/out/").size() + 1);
    EXPECT_EQ(text->data.back(), 0);
    const auto number =
        registry::QueryValue(registry::Root::LocalMachine, "Software\\Tamblewick", "Overwrite");
    EXPECT_EQ(number->type, registry::REG_DWORD);
    EXPECT_EQ(number->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST(SettingsStore, TextsReadIntoA260ByteBuffer) {
    const QString fits(259, u'a');
    const QString tooLong(260, u'b');
    WriteString(HKEY_LOCAL_MACHINE, kKey, "fits", fits);
    WriteString(HKEY_LOCAL_MACHINE, kKey, "long", tooLong);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kKey, "fits", "dflt"), fits);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kKey, "long", "dflt"), "dflt");
}

TEST(SettingsStore, NumbersReadIntoAFourByteBuffer) {
    registry::SetValue(registry::Root::LocalMachine, "Software\\Tamblewick", "wide",
                       registry::REG_BINARY, {1, 0, 0, 0, 0});
    registry::SetValue(registry::Root::LocalMachine, "Software\\Tamblewick", "short",
                       registry::REG_BINARY, {0x34, 0x12});
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey, "wide", 9), 9u);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey, "short", 0xAABBCCDD), 0xAABB1234u);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey, "missing", 1), 1u);
}

TEST(SettingsStore, DeletingMissingThingsIsFalseAndChangesNothing) {
    WriteDword(HKEY_LOCAL_MACHINE, kKey, "keep", 5);
    EXPECT_FALSE(DeleteTree(HKEY_LOCAL_MACHINE, kKey + "\\LoadOnRun"));
    EXPECT_FALSE(DeleteValue(HKEY_LOCAL_MACHINE, kKey, "missing"));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey, "keep", 0), 5u);

    SettingsStore list(HKEY_LOCAL_MACHINE, kKey + "\\LoadOnRun");
    list.WriteDword("0", 0);
    EXPECT_TRUE(list.DeleteTree());
    EXPECT_FALSE(
        registry::KeyExists(registry::Root::LocalMachine, "Software\\Tamblewick\\LoadOnRun"));
}

} // namespace
